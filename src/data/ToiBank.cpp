#include "data/ToiBank.h"

#include "data/DataTexts.h"
#include "text/SjisCodec.h"

const std::string& TableCell(const TextTable& table, std::int32_t row, int column)
{
    static const std::string kEmpty;
    auto it = table.find(row);
    if (it == table.end() || column < 0 || static_cast<std::size_t>(column) >= it->second.size())
        return kEmpty;
    return it->second[static_cast<std::size_t>(column)];
}

std::string_view TableCellView(const TextTable& table, std::int32_t row, int column)
{
    auto it = table.find(row);
    return it == table.end() ? std::string_view {} : TableCellView(it->second, column);
}

std::string_view TableCellView(const TextRow& cells, int column)
{
    if (column < 0 || static_cast<std::size_t>(column) >= cells.size())
        return {};
    return cells.Cell(static_cast<std::size_t>(column));
}

std::string_view ToiBunyaView(const TextRow& cells)
{
    return TrimSjisBlanks(TableCellView(cells, ToiColumn::Bunya));
}


std::int32_t ToiCount(const TextTable& toiTable)
{
    return toiTable.empty() ? 0 : static_cast<std::int32_t>(toiTable.size()) - 1;
}

std::string PictureFileName(char letter, const std::string& key)
{
    return std::string("NONE") + letter + key + ".jpg";
}

std::string BankText(const std::string& cell)
{
    return ReplaceAll(cell, DataTexts::kLineMarker, kBankLineBreak);
}
