#pragma once
// The drill state that the main window keeps between two user events. It is
// Qt-free so the drill's rules can be tested without a window; TForm1 owns
// one and its handlers read and change it.
#include "data/Kiroku.h"
#include "data/Nanwido.h"
#include "data/PlayModes.h"
#include "data/RunRules.h"
#include "data/ProgressDb.h"
#include "text/Unit2.h"

#include <array>
#include <cstdint>
#include <memory>
#include <vector>

enum StageKekkaValue : std::int32_t {
    kKekkaClear = 1,    // cleared
    kKekkaRetry = 2,    // failed with chances left: the stage is played again
    kKekkaGameOver = 3, // no chances left
};

enum SaveLoadModeValue : std::int32_t {
    kSaveLoadSave = 1,
    kSaveLoadLoad = 2,
};

// What the program may write of the learner's progress and how its writing
// has gone: everything a write needs besides the tables themselves.
struct ProgressWriting {
    // Cleared at start-up for a database that existed but could not be read
    // (it is never overwritten), and for counts a bank without questions has
    // no use for.
    bool writeSeikai = true;
    bool writeSaveLoad = true;
    bool writeNanwido = true;
    // A stage-end write failed and the learner has been told; told again
    // only after a write has succeeded.
    bool failureTold = false;
    // The last write has been made (a confirmed close, an end without
    // asking): nothing is written or asked any more.
    bool ended = false;
    // An answer could not be added to the journal and the learner has been
    // told: the drill goes on, and such a failure is told only once.
    bool answerFailureTold = false;
};

struct DrillState {
    std::uint32_t ToiIndex = 0;
    std::int32_t StageNo = 0;
    std::uint32_t StageToiCount = 0;
    std::uint32_t StageSeikaiCount = 0;
    // Zero before any run, as the window starts zero-filled.
    PlayModeValue PlayMode = kModeNormal;
    SaveLoadModeValue SaveLoadMode {};
    StageKekkaValue StageKekka {};
    NanwidoValue Nanwido = kNanwidoA;
    std::int32_t Nokori = 0;
    std::int32_t TimeCount = 0;
    // Entries 0..5: pass line in percent per difficulty; 6..11: countdown
    // seconds per difficulty.
    std::array<std::int32_t, 12> NanwidoTable {90, 80, 70, 60, 50, 40, 15, 30, 45, 60, 75, 90};
    // Without the question bank nothing is ever written.
    bool ToiFileFound = false;
    ProgressWriting Writing;
    // The answer journal, opened at start-up (OpenStudy): one row per
    // judged answer; every write of the counts file tells it (its mark goes
    // with the file). Null before: a state that no start-up opened (a
    // test's, a tool's) records no answer and writes no mark. A copy of the
    // state (a test's snapshot) shares it: the same learner, the same file.
    std::shared_ptr<KirokuJournal> Kiroku;

    TextTable ToiTable;
    TextTable StageTable;
    TextTable ToiSeikaiTable;
    TextTable SaveLoadTable;
    std::vector<std::int32_t> ToiList;
    // The area (分野) a run is limited to, as the drop-down names it
    // (Shift_JIS), and its question rows, ascending; empty: every question.
    std::string Bunya;
    std::vector<std::int32_t> BunyaRows;

    std::int32_t PassLine() const { return NanwidoTable[static_cast<std::size_t>(Nanwido)]; }
    std::int32_t TimeLimit() const { return NanwidoTable[static_cast<std::size_t>(Nanwido) + 6]; }
    // Normal and random runs count chances and can be stored in a slot.
    bool IsSlotMode() const { return PlayMode == kModeNormal || PlayMode == kModeRand; }
    // True when the exam modes are played (one stage, no pass line).
    bool IsExamMode() const { return PlayMode == kModeHNormal || PlayMode == kModeHRand; }
    // The journal's rows by ascending number; none before it is opened.
    const std::vector<KirokuEntry>& KirokuEntries() const
    {
        static const std::vector<KirokuEntry> none;
        return Kiroku ? Kiroku->Entries() : none;
    }
    // Row ToiList[ToiIndex], or -1 when ToiIndex lies outside the list.
    std::int32_t CurrentRow() const
    {
        return ToiIndex < ToiList.size() ? ToiList[ToiIndex] : -1;
    }
};
