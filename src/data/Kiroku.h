#pragma once
// The answer journal: every judged answer appended, durably, as one row of
// db_kiroku.dat before its verdict is shown, and the agreement between the
// journal and the counts file (db_1toi_pr.dat), so that at start-up the
// answers the counts file does not yet hold are counted exactly once.
//
// Growth is bounded: at start-up a journal of kKirokuRotateRows rows or more,
// all of them held by the counts file, becomes db_kiroku_1.dat (replacing the
// one before) and a new journal begins. So at most the last two such runs of
// answers are kept (one to two years of daily study, about 7 to 14 MB); the counts
// of older answers stay in the counts file.
#include "data/KirokuMark.h"
#include "data/KirokuRow.h"
#include "data/ProgressDb.h"

#include "text/SafeFile.h"
#include "text/SystemReason.h"

#include <cstdint>
#include <string>
#include <vector>

inline constexpr char kKirokuFileName[] = "db_kiroku.dat";
inline constexpr char kKirokuOldFileName[] = "db_kiroku_1.dat";
constexpr std::size_t kKirokuRotateRows = 100'000;
// Each journal file is read only up to kKirokuMaxFileBytes (text/FileLimits.h);
// a larger one is refused.

// Something the start-up found and the learner should hear of: the file and
// the writer's or reader's reason.
struct KirokuProblem {
    std::string fileName;
    FileError reason;
};

class KirokuJournal final : public SeikaiWriteWatch {
public:
    KirokuJournal() = default;
    ~KirokuJournal();
    KirokuJournal(const KirokuJournal&) = delete;
    KirokuJournal& operator=(const KirokuJournal&) = delete;

    // At start-up: reads both journal files and the mark. seikaiOnDisk is the
    // counts file's bytes as they are on disk, nullptr when there is none.
    // mayRotate false (a tool that only reads) changes nothing on disk.
    void Open(const std::string* seikaiOnDisk, bool mayRotate = true);
    // The same from the counts file's fingerprint (SeikaiFileHash), taken
    // where start-up reads that file anyway (LoadProgress).
    void OpenKnowingSeikai(const std::string& seikaiHash, bool mayRotate = true);

    // Every whole row of the journal files and of this run, by ascending
    // number; rows torn by a crash, edited or out of order are left out.
    const std::vector<KirokuEntry>& Entries() const { return entries_; }
    // Entries()[FirstUncounted() ..] are the answers that the counts file on
    // disk does not hold yet: start-up counts them into the table in memory.
    std::size_t FirstUncounted() const { return firstUncounted_; }
    // Problems to tell the learner once: a journal file or mark that could
    // not be read.
    const std::vector<KirokuProblem>& Problems() const { return problems_; }
    // True when the mark held a row that failed its check, or named a number
    // above the journal's last row: an edited mark. Such a row is not
    // believed, so nothing is counted twice; the mark is written anew before
    // the next answer, and the journal goes on.
    bool MarkRejected() const { return markRejected_; }
    // False when the journal could not be read or opened: answers are then
    // not recorded (the counts work as before).
    bool Writable() const { return writable_; }

    // Appends one judged answer; its number is given here. Durable when it
    // returns true. false and a reason when it could not be written; the
    // answer is then not in the journal (its count is still in memory), and
    // any part of it that reached the file never reads as a row, not even
    // after the next append.
    bool Append(KirokuEntry entry, FileError* reason = nullptr);

    // Before the counts file is replaced with `bytes`, which hold every
    // answer so far: records that in the mark, durably. A mark that cannot
    // be written does not hold the counts file back: a later start then does
    // not know this counts file and counts no journal row again (none twice).
    void BeforeSeikaiWrite(const std::string& bytes) override;
    // After that write: whether the counts file was replaced.
    void AfterSeikaiWrite(bool replaced) override;

private:
    bool EnsureOpen(FileError* reason);
    bool EnsureMarkHoldsDisk(FileError* reason);
    void LoadFile(const char* fileName, bool current);

    std::vector<KirokuEntry> entries_;
    std::vector<KirokuProblem> problems_;
    std::size_t firstUncounted_ = 0;
    std::int64_t lastSeq_ = 0;
    // The highest number that bytes in the current file may carry: the last
    // row's, or that of a row cut short after it. The next answer's is above.
    std::int64_t usedSeq_ = 0;
    bool markRejected_ = false;
    // What the counts file on disk holds: every answer up to diskSeq_; its
    // hash; whether the mark file says so.
    std::int64_t diskSeq_ = 0;
    std::string diskHash_ = "-";
    bool markHoldsDisk_ = false;
    std::int64_t pendingSeq_ = 0;
    std::string pendingHash_;
    bool pendingMarked_ = false;
    bool writable_ = true;
    // The current file's state as read: missing or empty (needs a header),
    // ending inside a row (needs a line end first), lines after its last row
    // that are no row.
    bool needsHeader_ = true;
    bool tornTail_ = false;
    std::size_t strayLines_ = 0;
    std::size_t currentRows_ = 0;
    AppendFile file_;
};
