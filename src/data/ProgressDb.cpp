#include "data/ProgressDb.h"

#include "data/DataTexts.h"
#include "data/Nanwido.h"
#include "data/SlotCells.h"
#include "data/ToiBank.h"

#include <cstdio>
#include <unistd.h>
#include <unordered_map>

namespace {

// Full stages of a bank of bankRows rows; an empty bank (not even a header)
// has none.
std::int32_t StageCount(std::int32_t bankRows)
{
    return bankRows > 1 ? (bankRows - 1) / kStageSize : 0;
}

std::int32_t BankRows(const TextTable& toiTable)
{
    return static_cast<std::int32_t>(toiTable.size());
}

enum class FileState { Missing, Read, Unreadable };

// Reads a database file whole. A name that exists but cannot be read is
// noted in data.unreadable so that the close leaves it alone.
FileState ReadDatabase(const char* fileName, std::string& bytes, ProgressData& data)
{
    bytes.clear();
    if (!DataFileExists(fileName))
        return FileState::Missing;
    std::string reason;
    if (ReadWholeFileChecked(fileName, bytes, &reason))
        return FileState::Read;
    data.unreadable.push_back({fileName, reason});
    return FileState::Unreadable;
}

// True when the text starts with a number as TextToInt reads one (blanks,
// a sign, at least one digit). A word reads as 0 but is no difficulty.
bool HasLeadingNumber(const std::string& text)
{
    std::size_t i = text.find_first_not_of(" \t");
    if (i != std::string::npos && (text[i] == '+' || text[i] == '-'))
        ++i;
    return i < text.size() && text[i] >= '0' && text[i] <= '9';
}

void LoadNanwido(ProgressData& data)
{
    std::string bytes;
    FileState state = ReadDatabase(DataTexts::kNanwidoFileName, bytes, data);
    data.writeNanwido = state != FileState::Unreadable;
    data.Nanwido = state == FileState::Read && HasLeadingNumber(bytes) ? ToNanwido(TextToInt(bytes)) : kNanwidoF;
}

// Every count row gets its count cell, so a short row read from the file
// can be counted into like any other.
void GiveEveryRowACount(TextTable& seikaiTable)
{
    for (auto& [row, cells] : seikaiTable) {
        if (row < 1)
            continue;
        while (cells.size() < 2)
            cells.push_back(cells.empty() ? std::string() : std::string("0"));
    }
}

void LoadSeikai(const TextTable& toiTable, ProgressData& data)
{
    std::string bytes;
    FileState state = ReadDatabase(DataTexts::kSeikaiFileName, bytes, data);
    data.writeSeikai = state != FileState::Unreadable;
    if (state != FileState::Read) {
        data.ToiSeikaiTable = BuildSeikaiTable(toiTable);
        return;
    }
    TextTable loaded = ParseTableFile(std::move(bytes));
    if (ToiCount(toiTable) == 0 && ToiCount(loaded) > 0) {
        // A bank without questions (damaged or half copied) has nothing to
        // count; the learner's record on disk stays as it is.
        data.ToiSeikaiTable = BuildSeikaiTable(toiTable);
        data.writeSeikai = false;
        return;
    }
    if (loaded.size() == toiTable.size()) {
        data.ToiSeikaiTable = std::move(loaded);
        GiveEveryRowACount(data.ToiSeikaiTable);
        return;
    }
    data.ToiSeikaiTable = BuildSeikaiTable(toiTable, &loaded);
}

void LoadSaveLoad(const TextTable& toiTable, ProgressData& data)
{
    std::string bytes;
    FileState state = ReadDatabase(DataTexts::kSaveLoadFileName, bytes, data);
    data.writeSaveLoad = state != FileState::Unreadable;
    if (state == FileState::Read) {
        data.SaveLoadTable = ParseTableFile(std::move(bytes));
        // An empty file holds no slot to keep; it gets the empty slots.
        if (!data.SaveLoadTable.empty())
            return;
    }
    data.SaveLoadTable = BuildEmptySaveTable(BankRows(toiTable));
}

} // namespace

TextTable BuildStageTable(std::int32_t bankRows)
{
    TextTable table;
    table[0] = {DataTexts::kStageSeikai, DataTexts::kStageToi};
    for (std::int32_t stage = 1; stage <= StageCount(bankRows); ++stage)
        table[stage] = {"0", "0"};
    return table;
}

TextTable BuildSeikaiTable(const TextTable& toiTable, const TextTable* oldTable)
{
    // The old count of each key: its first row from row 1 on, as counting
    // a correct answer finds it. A count is carried over as the number it
    // reads as, so whatever else the old cell held stays behind.
    std::unordered_map<std::string_view, std::int32_t> oldCounts;
    if (oldTable) {
        for (const auto& [row, cells] : *oldTable) {
            if (row < 1 || cells.empty())
                continue;
            oldCounts.emplace(cells.Cell(0), cells.size() > 1 ? TextToInt(std::string(cells.Cell(1))) : 0);
        }
    }
    TextTable table;
    table.emplace_hint(table.end(), 0, TextRow {DataTexts::kToiKey, DataTexts::kToiSeikaiCount});
    for (std::int32_t row = 1; row < BankRows(toiTable); ++row) {
        // Read without copying the bank row's other cells.
        const std::string_view key = TableCellView(toiTable, row, ToiColumn::Key);
        auto old = oldCounts.find(key);
        table.emplace_hint(table.end(), row,
                           TextRow {std::string(key), old != oldCounts.end() ? IntToText(old->second) : "0"});
    }
    return table;
}

TextRow EmptySlotRow(std::int32_t bankRows)
{
    TextRow row(SlotCell::Count);
    row[SlotCell::PlayMode] = DataTexts::kPlayNormal;
    row[SlotCell::ToiList] = BankOrderListCell(bankRows - 1);
    row[SlotCell::ToiIndex] = "0";
    row[SlotCell::StageTable] = StageRowsCell(BuildStageTable(bankRows));
    row[SlotCell::Filled] = "0";
    row[SlotCell::Date] = DataTexts::kNewData;
    row[SlotCell::Nanwido] = IntToText(kNanwidoF);
    row[SlotCell::Nokori] = "3";
    return row;
}

TextTable BuildEmptySaveTable(std::int32_t bankRows)
{
    TextTable table;
    table[0] = {DataTexts::kHeadPlayMode, DataTexts::kHeadToiList, DataTexts::kHeadToiIndex,
                DataTexts::kHeadStageTable, DataTexts::kHeadEmpty, DataTexts::kHeadDate,
                DataTexts::kHeadNanwido, DataTexts::kHeadNokori};
    for (std::int32_t slot = 1; slot <= kSlotCount; ++slot)
        table[slot] = EmptySlotRow(bankRows);
    return table;
}

ProgressData LoadProgress(const TextTable& toiTable)
{
    ProgressData data;
    LoadNanwido(data);
    data.StageTable = BuildStageTable(BankRows(toiTable));
    LoadSeikai(toiTable, data);
    LoadSaveLoad(toiTable, data);
    return data;
}

void WriteProgress(const ProgressData& data)
{
    WriteProgress(data.ToiSeikaiTable, data.SaveLoadTable, data.Nanwido, data.writeSeikai, data.writeSaveLoad,
                  data.writeNanwido);
}

ProgressWriteResult TryWriteProgress(const TextTable& toiSeikaiTable, const TextTable& saveLoadTable,
                                     std::int32_t nanwido, bool writeSeikai, bool writeSaveLoad,
                                     bool writeNanwido, const SeikaiWriteWatch* watch)
{
    ProgressWriteResult result;
    // The file's bytes (CR LF line ends) built in one buffer each.
    auto failed = [&](const std::string& bytes, const char* fileName) {
        if (TryWriteBytesFile(bytes, fileName, &result.reason))
            return false;
        result.ok = false;
        result.fileName = fileName;
        return true;
    };
    // The three files share one folder: it is synced once, after the last.
    FolderSyncBatch batch;
    if (writeSeikai) {
        const std::string bytes = TableToFileBytes(toiSeikaiTable);
        if (watch && watch->before)
            watch->before(bytes);
        const bool seikaiFailed = failed(bytes, DataTexts::kSeikaiFileName);
        if (watch && watch->after)
            watch->after(!seikaiFailed);
        if (seikaiFailed)
            return result;
    }
    if (writeSaveLoad && failed(TableToFileBytes(saveLoadTable), DataTexts::kSaveLoadFileName))
        return result;
    if (writeNanwido && failed(IntToText(nanwido), DataTexts::kNanwidoFileName))
        return result;
    result.reason.clear();
    return result;
}

void WriteProgress(const TextTable& toiSeikaiTable, const TextTable& saveLoadTable, std::int32_t nanwido,
                   bool writeSeikai, bool writeSaveLoad, bool writeNanwido)
{
    EndUnlessWritten(TryWriteProgress(toiSeikaiTable, saveLoadTable, nanwido, writeSeikai, writeSaveLoad, writeNanwido));
}

void EndUnlessWritten(const ProgressWriteResult& result)
{
    if (result.ok)
        return;
    std::fputs("ファイルをオープンできません\n", stderr);
    std::fflush(stderr);
    // At once, as a failed WriteTextFile: nothing else runs after it.
    ::_exit(1);
}
