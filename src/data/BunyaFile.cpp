#include "data/BunyaFile.h"
#include "text/SafeFile.h"

#include "data/ToiBank.h"
#include "text/Unit2.h"


namespace {

// 分野
constexpr char kHeader[] = "\x95\xAA\x96\xEC";

} // namespace

std::string ReadBunyaChoice()
{
    // Only a file of this folder: a link is not followed.
    if (KindAt(kBunyaFileName) != EntryKind::Regular)
        return {};
    std::string bytes;
    if (!ReadRegularFile(kBunyaFileName, bytes, nullptr, kBunyaChoiceMaxBytes))
        return {};
    return std::string(TableCellView(ParseTableFile(std::move(bytes)), 1, 0));
}

bool WriteBunyaChoice(const std::string& choice)
{
    TextTable table;
    table[0] = {kHeader};
    table[1] = {choice};
    return ReplaceFile(kBunyaFileName, TableToFileBytes(table));
}
