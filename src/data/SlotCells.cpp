#include "data/SlotCells.h"

#include "data/DataTexts.h"
#include "data/ToiBank.h"

namespace {

std::string Join(const std::vector<std::string>& values, const char* marker)
{
    std::string text;
    for (std::size_t i = 0; i < values.size(); ++i) {
        if (i > 0)
            text += marker;
        text += values[i];
    }
    return text;
}

} // namespace

std::string JoinListCell(const std::vector<std::string>& values)
{
    return Join(values, DataTexts::kListMarker);
}

std::string ToiListCell(const std::vector<std::int32_t>& toiList)
{
    std::vector<std::string> values;
    values.reserve(toiList.size());
    for (std::int32_t row : toiList)
        values.push_back(IntToText(row));
    return JoinListCell(values);
}

std::string BankOrderListCell(std::int32_t last)
{
    std::vector<std::int32_t> rows;
    for (std::int32_t row = 1; row <= last; ++row)
        rows.push_back(row);
    return ToiListCell(rows);
}

std::vector<std::int32_t> ToiListFromCell(const std::string& cell)
{
    std::vector<std::int32_t> toiList;
    if (cell.empty())
        return toiList;
    for (const std::string& piece : SplitText(cell, DataTexts::kListMarker))
        toiList.push_back(TextToInt(piece));
    return toiList;
}

std::string StageRowsCell(const TextTable& stageTable)
{
    std::vector<std::string> rows;
    const std::int32_t last = stageTable.empty() ? 0 : stageTable.rbegin()->first;
    for (std::int32_t j = 1; j <= last; ++j)
        rows.push_back(JoinListCell({TableCell(stageTable, j, 0), TableCell(stageTable, j, 1)}));
    return Join(rows, DataTexts::kLineMarker);
}

void StageRowsFromCell(const std::string& cell, TextTable& stageTable)
{
    if (cell.empty())
        return;
    std::int32_t j = 1;
    for (const std::string& piece : SplitText(cell, DataTexts::kLineMarker))
        stageTable[j++] = SplitText(piece, DataTexts::kListMarker);
}
