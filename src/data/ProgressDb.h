#pragma once
// The three progress databases beside the program: the difficulty
// (db_nanwido.dat), the per-question correct counts (db_1toi_pr.dat) and the
// nine save slots (db_save_load.dat). They are read once at start-up and
// written, whole, at every stage end, at the final results and at the end
// (a confirmed close, a termination signal, the end of the desktop session).
#include "data/Nanwido.h"
#include "data/RunRules.h"
#include "text/SystemReason.h"
#include "text/Unit2.h"

#include <string>
#include <vector>

constexpr int kSlotCount = 9;

// A database file that the program will not replace: one that exists but
// could not be read, or a link that leads out of the working folder. It is
// named at start-up and left untouched, so nothing the learner stored is lost.
struct UnreadableFile {
    std::string fileName;
    FileError reason;
};
// A database that was read but is not wholly a table (a NUL byte: a block of
// zeros after a crash, a file saved as UTF-16): of the counts every row but
// the spoiled ones is used (rowsAfterKept), of the others the bytes before
// the NUL. Its bytes were copied beside it first (copyName, empty when the
// copy failed: the file is then left untouched like an unreadable one).
struct DamagedFile {
    std::string fileName;
    std::string copyName;
    FileError copyError;
    bool rowsAfterKept = false;
};

struct ProgressData {
    NanwidoValue Nanwido;
    TextTable StageTable;
    TextTable ToiSeikaiTable;
    TextTable SaveLoadTable;
    // Cleared for a file the close must leave as it is: one that could not
    // be read, or counts that a bank without questions has no use for.
    bool writeNanwido = true;
    bool writeSeikai = true;
    bool writeSaveLoad = true;
    std::vector<UnreadableFile> unreadable;
    std::vector<DamagedFile> damaged;
    // The counts file's fingerprint as it was read (SeikaiFileHash, "-"
    // when it could not be read): the journal's mark tells by it which
    // answers the file holds, so the file is read only once.
    std::string seikaiOnDiskHash = "-";
};

// Header row and rows 1..S of ["0", "0"], S = FullStageCount(bankRows - 1).
TextTable BuildStageTable(std::int32_t bankRows);
// Header row and one row [key, "0"] per question. Counts of keys that the
// old table held (its first row with the key) are carried over; the old rows
// of keys the bank lacks follow, in their old order with their counts, so a
// question missing from a shorter bank keeps its count until it comes back.
TextTable BuildSeikaiTable(const TextTable& toiTable, const TextTable* oldTable = nullptr);
// Header row and nine empty slots for a bank of bankRows rows.
TextTable BuildEmptySaveTable(std::int32_t bankRows);
// The eight cells of an empty slot.
TextRow EmptySlotRow(std::int32_t bankRows);

// The start-up loading, in order: difficulty, stage table, per-question
// counts (loaded, or rebuilt when the row count differs, keeping every
// count), save slots. The leftovers of interrupted writes are removed before
// it (data/WriteLeftovers). A file that exists
// but cannot be read, or a link out of the folder, is built as if missing and
// noted in `unreadable`; a file with a NUL byte is copied beside itself and
// noted in `damaged`.
ProgressData LoadProgress(const TextTable& toiTable);

// What writing the three databases came to: `ok`, or every file that could
// not be written and why. Each file is written on its own: one that fails
// keeps its old bytes and does not stop the others.
struct FailedWrite {
    std::string fileName;
    FileError error;
};
struct ProgressWriteResult {
    bool ok = true;
    std::vector<FailedWrite> failed;
};
// The failed files and their reasons for the learner, in one line (UTF-8):
// "db_1toi_pr.dat（ディスクがいっぱいです）、db_nanwido.dat（…）".
std::string FailedWritesText(const ProgressWriteResult& result);

// Told just before the counts file is replaced with the given bytes, and
// after, whether it was: the answer journal (data/Kiroku) keeps its
// watermark with it. The drill passes its journal down as this.
class SeikaiWriteWatch {
public:
    virtual void BeforeSeikaiWrite(const std::string& bytes) = 0;
    virtual void AfterSeikaiWrite(bool replaced) = 0;

protected:
    ~SeikaiWriteWatch() = default;
};

// Writes the three databases in the close's order: db_1toi_pr.dat,
// db_save_load.dat, db_nanwido.dat, each replaced atomically and each on its
// own. A file not to be written (unreadable at start-up) is skipped. Nothing
// ends here.
ProgressWriteResult TryWriteProgress(const TextTable& toiSeikaiTable, const TextTable& saveLoadTable,
                                     NanwidoValue nanwido, bool writeSeikai, bool writeSaveLoad,
                                     bool writeNanwido, SeikaiWriteWatch* watch = nullptr);

// The close's end of a write that failed: the process ends as WriteTextFile
// does ("ファイルをオープンできません" on standard error, exit status 1), after
// every file was tried; returns only when every file was written.
void EndUnlessWritten(const ProgressWriteResult& result);
