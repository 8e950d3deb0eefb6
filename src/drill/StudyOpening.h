#pragma once
// Opening the learner's study at start-up, in one place and in this order:
// the bank; then, when there is one, the leftovers of interrupted writes
// removed, the three databases, the answer journal and its mark (the
// answers the counts file lacks counted in), and the area last chosen.
// What the learner should hear of comes back as data, in the order the
// start-up box tells it; the window words and shows it.
#include "data/Kiroku.h"
#include "data/ProgressDb.h"
#include "drill/DrillState.h"
#include "text/SystemReason.h"

#include <optional>
#include <string>
#include <vector>

struct StudyOpening {
    // The bank exists but could not be read: why. It is then as good as
    // missing (state.ToiFileFound is false) and nothing else is opened.
    std::optional<FileError> bankUnreadable;
    // The databases with a NUL byte (copied beside themselves first) and
    // those left untouched (unreadable, a link out of the folder).
    std::vector<DamagedFile> damaged;
    std::vector<UnreadableFile> unreadable;
    // A journal file or its mark that could not be read, and a mark that
    // did not agree with the journal (not believed).
    std::vector<KirokuProblem> kirokuProblems;
    bool markRejected = false;
    // Temporary files of interrupted writes that were removed.
    std::vector<std::string> removedLeftovers;
};

// Fills a fresh state from the working folder. Without a bank (missing or
// unreadable) only ToiFileFound (false) is set and nothing is touched.
StudyOpening OpenStudy(DrillState& state);
