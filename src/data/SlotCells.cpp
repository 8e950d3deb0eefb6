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

std::string JoinListCell(const std::vector<std::string>& values)
{
    return Join(values, DataTexts::kListMarker);
}

std::string StageRowsCell(const TextTable& stageTable)
{
    std::vector<std::string> rows;
    const std::int32_t last = stageTable.empty() ? 0 : stageTable.rbegin()->first;
    for (std::int32_t j = 1; j <= last; ++j)
        rows.push_back(JoinListCell({TableCell(stageTable, j, 0), TableCell(stageTable, j, 1)}));
    return Join(rows, DataTexts::kLineMarker);
}

} // namespace

TextRow SlotRowCells(const SlotContent& slot)
{
    std::vector<std::string> rows;
    rows.reserve(slot.toiList.size());
    for (std::int32_t row : slot.toiList)
        rows.push_back(IntToText(row));
    TextRow cells(SlotCell::Count);
    cells[SlotCell::PlayMode] = slot.normalMode ? DataTexts::kPlayNormal : DataTexts::kPlayRand;
    cells[SlotCell::ToiList] = JoinListCell(rows);
    cells[SlotCell::ToiIndex] = std::to_string(slot.toiIndex);
    cells[SlotCell::StageTable] = StageRowsCell(slot.stageTable);
    cells[SlotCell::Filled] = slot.filled ? "1" : "0";
    cells[SlotCell::Date] = slot.date;
    cells[SlotCell::Nanwido] = IntToText(slot.nanwido);
    cells[SlotCell::Nokori] = IntToText(slot.nokori);
    if (!slot.bunya.empty())
        cells.push_back(std::string(slot.bunya));
    return cells;
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

void StageRowsFromCell(const std::string& cell, TextTable& stageTable)
{
    if (cell.empty())
        return;
    std::int32_t j = 1;
    for (const std::string& piece : SplitText(cell, DataTexts::kLineMarker))
        stageTable[j++] = SplitText(piece, DataTexts::kListMarker);
}
