#pragma once
// The three progress databases beside the program: the difficulty
// (db_nanwido.dat), the per-question correct counts (db_1toi_pr.dat) and the
// nine save slots (db_save_load.dat). They are read once at start-up and
// written, whole, at every stage end, at the final results and at the end
// (a confirmed close, a termination signal, the end of the desktop session).
#include "data/Nanwido.h"
#include "text/Unit2.h"

#include <functional>
#include <string>
#include <vector>

constexpr std::int32_t kStageSize = 20;
constexpr int kSlotCount = 9;

// A database file that exists but could not be read. It is left untouched
// at close so nothing the learner stored is lost.
struct UnreadableFile {
    std::string fileName;
    std::string reason;
};

struct ProgressData {
    std::int32_t Nanwido = kNanwidoF; // as the file holds it
    TextTable StageTable;
    TextTable ToiSeikaiTable;
    TextTable SaveLoadTable;
    // Cleared for a file the close must leave as it is: one that could not
    // be read, or counts that a bank without questions has no use for.
    bool writeNanwido = true;
    bool writeSeikai = true;
    bool writeSaveLoad = true;
    std::vector<UnreadableFile> unreadable;
};

// Header row and rows 1..S of ["0", "0"], S = (bankRows - 1) / 20.
TextTable BuildStageTable(std::int32_t bankRows);
// Header row and one row [key, "0"] per question. Counts of keys that the
// old table held (its first row with the key) are carried over.
TextTable BuildSeikaiTable(const TextTable& toiTable, const TextTable* oldTable = nullptr);
// Header row and nine empty slots for a bank of bankRows rows.
TextTable BuildEmptySaveTable(std::int32_t bankRows);
// The eight cells of an empty slot.
TextRow EmptySlotRow(std::int32_t bankRows);

// The start-up loading, in order: difficulty, stage table, per-question
// counts (loaded, or rebuilt when the row count differs, keeping the count
// of every key the bank still holds), save slots. A file that exists but
// cannot be read is built as if missing and noted in `unreadable`.
ProgressData LoadProgress(const TextTable& toiTable);

// What writing the three databases came to: `ok`, or the file that could
// not be written and the writer's reason. Files before it hold their new
// bytes, the failed one and those after it keep their old ones.
struct ProgressWriteResult {
    bool ok = true;
    std::string fileName;
    std::string reason;
};

// Told just before the counts file is replaced with the given bytes, and
// after, whether it was: the answer journal keeps its watermark with it.
struct SeikaiWriteWatch {
    std::function<void(const std::string& bytes)> before;
    std::function<void(bool replaced)> after;
};

// Writes the three databases as the confirmed close does, in order:
// db_1toi_pr.dat, db_save_load.dat, db_nanwido.dat, each replaced atomically.
// A file that could not be read at start-up is skipped. Stops at the first
// file that cannot be written and tells which and why; nothing ends here.
ProgressWriteResult TryWriteProgress(const TextTable& toiSeikaiTable, const TextTable& saveLoadTable,
                                     std::int32_t nanwido, bool writeSeikai, bool writeSaveLoad,
                                     bool writeNanwido, const SeikaiWriteWatch* watch = nullptr);

// The close-time writing: TryWriteProgress, and a file that cannot be
// written ends the process as WriteTextFile does ("ファイルをオープンできません"
// on standard error, exit status 1).
void WriteProgress(const ProgressData& data);
void WriteProgress(const TextTable& toiSeikaiTable, const TextTable& saveLoadTable, std::int32_t nanwido,
                   bool writeSeikai, bool writeSaveLoad, bool writeNanwido);
// The close's end of a write that failed; returns only when it succeeded.
void EndUnlessWritten(const ProgressWriteResult& result);
