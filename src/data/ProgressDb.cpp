#include "data/ProgressDb.h"

#include "data/DataTexts.h"
#include "data/KirokuMark.h"
#include "data/Nanwido.h"
#include "data/SlotCells.h"
#include "data/ToiBank.h"

#include "text/SafeFile.h"

#include <algorithm>
#include <cerrno>
#include <unordered_map>
#include <unordered_set>

namespace {

std::int32_t BankRows(const TextTable& toiTable)
{
    return static_cast<std::int32_t>(toiTable.size());
}

// Damaged: read, but it holds a NUL byte; its bytes were copied beside it.
enum class FileState { Missing, Read, Damaged, Unreadable };

// Reads a database file whole. A name that exists but cannot be read, or a
// link that leads out of the folder, is noted in data.unreadable so that no
// write touches it. A file with a NUL byte is noted in data.damaged and its
// bytes are first kept in a copy beside it; without a copy it is unreadable.
// `hash`, when given, gets the fingerprint of the bytes as read (the
// journal's mark knows the counts file by it), "-" when none could be.
FileState ReadDatabase(const char* fileName, std::string& bytes, ProgressData& data, std::string* hash = nullptr)
{
    bytes.clear();
    // Before the existence test: a link that leads nowhere is no missing file.
    if (LinkLeadsOutside(fileName)) {
        data.unreadable.push_back({fileName, {FileStep::LinkOutside, 0}});
        // Never written, but the mark may know the bytes it leads to.
        if (hash && ReadRegularFile(fileName, bytes))
            *hash = SeikaiFileHash(&bytes);
        bytes.clear();
        return FileState::Unreadable;
    }
    if (!DataFileExists(fileName))
        return FileState::Missing;
    FileError error;
    if (!ReadRegularFile(fileName, bytes, &error)) {
        data.unreadable.push_back({fileName, error});
        return FileState::Unreadable;
    }
    if (hash)
        *hash = SeikaiFileHash(&bytes);
    const auto nul = bytes.find('\0');
    if (nul == std::string::npos)
        return FileState::Read;
    DamagedFile damaged {fileName, std::string(), {}, false};
    // The first free name of fileName.damaged, fileName.damaged-2, ...
    for (int n = 1; n <= 100 && damaged.copyName.empty(); ++n) {
        const std::string copy = std::string(fileName) + ".damaged" + (n > 1 ? "-" + std::to_string(n) : "");
        if (CreateNewFile(copy, bytes, &damaged.copyError))
            damaged.copyName = copy;
        else if (damaged.copyError.number != EEXIST)
            break;
    }
    data.damaged.push_back(damaged);
    if (damaged.copyName.empty()) {
        // Without a copy the file is not replaced: nothing of it is lost.
        data.unreadable.push_back({fileName, damaged.copyError});
        return FileState::Unreadable;
    }
    return FileState::Damaged;
}

// A file whose rows are no table of their own is read up to its first NUL.
void CutAtNul(std::string& bytes)
{
    bytes.resize(std::min(bytes.size(), bytes.find('\0')));
}

void LoadNanwido(ProgressData& data)
{
    std::string bytes;
    FileState state = ReadDatabase(DataTexts::kNanwidoFileName, bytes, data);
    data.writeNanwido = state != FileState::Unreadable;
    CutAtNul(bytes);
    data.Nanwido = state == FileState::Read || state == FileState::Damaged ? NanwidoFromFile(bytes) : kNanwidoF;
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

// True when the counts hold a row for every question of the bank, but not
// all in the bank's rows: a question that was missing came back, and its
// count follows the bank's rows. Sorting by key then loses nothing, where
// keeping the rows would give questions each other's counts. (A question
// replaced by a new one keeps the old count by row, as before.)
bool HoldsEveryKeyInOtherRows(const TextTable& toiTable, const TextTable& seikaiTable)
{
    // Both tables walked once, side by side: a look-up per row cost about
    // 9 ms at every start with 100 000 questions.
    bool moved = false;
    auto toi = toiTable.begin();
    for (const auto& [row, cells] : seikaiTable) {
        if (row < 1 || cells.empty())
            continue;
        while (toi != toiTable.end() && toi->first < row)
            ++toi;
        const bool bankRow = toi != toiTable.end() && toi->first == row;
        if (cells.Cell(0) != (bankRow ? TableCellView(toi->second, ToiColumn::Key) : std::string_view {})) {
            moved = true;
            break;
        }
    }
    if (!moved)
        return false;
    std::unordered_set<std::string_view> counted;
    for (const auto& [row, cells] : seikaiTable)
        if (row >= 1 && !cells.empty())
            counted.insert(cells.Cell(0));
    bool every = true;
    ForEachToiRow(toiTable, [&](std::int32_t, const TextRow& cells) {
        every = every && counted.count(TableCellView(cells, ToiColumn::Key)) != 0;
    });
    return every;
}

void LoadSeikai(const TextTable& toiTable, ProgressData& data)
{
    std::string bytes;
    FileState state = ReadDatabase(DataTexts::kSeikaiFileName, bytes, data, &data.seikaiOnDiskHash);
    data.writeSeikai = state != FileState::Unreadable;
    if (state != FileState::Read && state != FileState::Damaged) {
        data.ToiSeikaiTable = BuildSeikaiTable(toiTable);
        return;
    }
    const bool damaged = state == FileState::Damaged;
    // A NUL spoils only its own row: every count after it is kept.
    TextTable loaded = damaged ? ParseTableFileAroundNul(std::move(bytes)) : ParseTableFile(std::move(bytes));
    if (damaged)
        data.damaged.back().rowsAfterKept = true;
    if (ToiCount(toiTable) == 0 && ToiCount(loaded) > 0) {
        // A bank without questions (damaged or half copied) has nothing to
        // count; the learner's record on disk stays as it is.
        data.ToiSeikaiTable = BuildSeikaiTable(toiTable);
        data.writeSeikai = false;
        return;
    }
    // The rows of a damaged file may have moved (a spoiled row leaves a gap,
    // a zero block joins rows): its counts are taken by key.
    if (!damaged && loaded.size() == toiTable.size() && !HoldsEveryKeyInOtherRows(toiTable, loaded)) {
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
    if (state == FileState::Read || state == FileState::Damaged) {
        CutAtNul(bytes);
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
    for (std::int32_t stage = 1; stage <= FullStageCount(bankRows - 1); ++stage)
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
    std::unordered_set<std::string_view> bankKeys;
    std::int32_t next = 1;
    for (; next < BankRows(toiTable); ++next) {
        // Read without copying the bank row's other cells.
        const std::string_view key = TableCellView(toiTable, next, ToiColumn::Key);
        bankKeys.insert(key);
        auto old = oldCounts.find(key);
        table.emplace_hint(table.end(), next,
                           TextRow {std::string(key), old != oldCounts.end() ? IntToText(old->second) : "0"});
    }
    // Counts of questions the bank lacks (a half-copied bank, an author's
    // small test bank) stay, after the bank's rows, until they come back.
    // Rows past the bank are never presented or counted into.
    if (oldTable) {
        for (const auto& [row, cells] : *oldTable) {
            if (row < 1 || cells.empty() || bankKeys.count(cells.Cell(0)) != 0)
                continue;
            const std::string_view key = cells.Cell(0);
            if (oldCounts.count(key) == 0)
                continue; // a later row of a key already kept
            table.emplace_hint(table.end(), next++, TextRow {std::string(key), IntToText(oldCounts[key])});
            oldCounts.erase(key);
        }
    }
    return table;
}

TextRow EmptySlotRow(std::int32_t bankRows)
{
    // Every question in bank order, every full stage, the easiest
    // difficulty and every chance.
    std::vector<std::int32_t> bankOrder;
    for (std::int32_t row = 1; row < bankRows; ++row)
        bankOrder.push_back(row);
    return SlotRowCells({.normalMode = true,
                         .toiList = bankOrder,
                         .toiIndex = 0,
                         .stageTable = BuildStageTable(bankRows),
                         .filled = false,
                         .date = DataTexts::kNewData,
                         .nanwido = kNanwidoF,
                         .nokori = kRunChances,
                         .bunya = {}});
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

ProgressWriteResult TryWriteProgress(const TextTable& toiSeikaiTable, const TextTable& saveLoadTable,
                                     NanwidoValue nanwido, bool writeSeikai, bool writeSaveLoad,
                                     bool writeNanwido, SeikaiWriteWatch* watch)
{
    ProgressWriteResult result;
    auto write = [&](bool wanted, const char* fileName, auto bytes) {
        if (!wanted)
            return;
        FileError error;
        if (!ReplaceFile(fileName, bytes(), &error)) {
            result.ok = false;
            result.failed.push_back({fileName, error});
        }
    };
    // The three files share one folder: it is synced once, after the last.
    FolderSyncBatch batch;
    if (writeSeikai) {
        const std::string bytes = TableToFileBytes(toiSeikaiTable);
        if (watch)
            watch->BeforeSeikaiWrite(bytes);
        write(true, DataTexts::kSeikaiFileName, [&] { return std::string_view(bytes); });
        if (watch)
            watch->AfterSeikaiWrite(result.failed.empty());
    }
    write(writeSaveLoad, DataTexts::kSaveLoadFileName, [&] { return TableToFileBytes(saveLoadTable); });
    write(writeNanwido, DataTexts::kNanwidoFileName, [&] { return NanwidoFileText(nanwido); });
    return result;
}

std::string FailedWritesText(const ProgressWriteResult& result)
{
    std::string text;
    for (const FailedWrite& failed : result.failed) {
        if (!text.empty())
            text += "、";
        text += failed.fileName + "（" + FileReason(failed.error) + "）";
    }
    return text;
}

void EndUnlessWritten(const ProgressWriteResult& result)
{
    if (!result.ok)
        EndAfterFailedWrite();
}
