// [次へ] after a judged question: the stage end's automatic save into "AUTO"
// and the write of the three databases, below the window.
#include "data/DataTexts.h"
#include "data/ProgressDb.h"
#include "drill/Judge.h"
#include "drill/ProgressKeeping.h"
#include "drill/RunStart.h"
#include "saveload/NextStep.h"
#include "saveload/SaveSlots.h"
#include "text/SafeFile.h"
#include "support/WorkFolder.h"
#include "support/FailingDisk.h"

#include <gtest/gtest.h>

namespace {

using namespace DataTexts;

// A drill on a bank of n typed questions (answer "A"), as the start-up
// leaves it, started in the given mode.
DrillState StartedDrill(PlayModeValue mode, std::int32_t n, std::int32_t nokori = kRunChances)
{
    DrillState state;
    state.ToiFileFound = true;
    state.ToiTable[0] = {"key"};
    for (std::int32_t i = 1; i <= n; ++i)
        state.ToiTable[i] = {"Q" + IntToText(i), "question", "explanation", "A", "0", "0", "0", "0"};
    state.StageTable = BuildStageTable(n + 1);
    state.ToiSeikaiTable = BuildSeikaiTable(state.ToiTable);
    state.SaveLoadTable = BuildEmptySaveTable(n + 1);
    state.Nanwido = kNanwidoC;
    EXPECT_TRUE(StartRun(state, mode));
    state.Nokori = nokori;
    return state;
}

// Answers questions (the first `correct` right) and presses [次へ] until
// something other than the next question follows.
NextStep PlayStage(DrillState& state, std::uint32_t correct)
{
    for (std::uint32_t answered = 0;; ++answered) {
        GivenAnswer given;
        given.typed = answered < correct ? "A" : "B";
        JudgeToi(state, given);
        NextStep step = StepAfterNext(state);
        if (step.action != NextAction::PresentNext)
            return step;
        EXPECT_FALSE(step.writeFailure);
    }
}

class NextStepFiles : public ::testing::Test {
protected:
    void TearDown() override { SetWriteFault(WriteFault::None); }
    bool Written() const
    {
        return folder.Exists(kSeikaiFileName) && folder.Exists(kSaveLoadFileName) && folder.Exists(kNanwidoFileName);
    }
    WorkFolder folder;
};

// Every end of a stage or a run writes the three files; only a normal or
// random run that goes on is stored into "AUTO" first, and what is written
// holds it.
TEST_F(NextStepFiles, StageEndsStoreAutoWhenAllowedAndWriteTheThreeFiles)
{
    const struct {
        const char* name;
        PlayModeValue mode;
        std::int32_t questions, nokori;
        std::uint32_t correct;
        NextAction action;
        StageKekkaValue kekka;
        bool autoStored;
    } cases[] = {
        {"normal, cleared", kModeNormal, 45, 3, 20, NextAction::StageEnd, kKekkaClear, true},
        {"random, failed", kModeRand, 45, 3, 3, NextAction::StageEnd, kKekkaRetry, true},
        {"normal, game over", kModeNormal, 45, 1, 3, NextAction::StageEnd, kKekkaGameOver, false},
        {"weak point", kModeJakuten, 45, 0, 0, NextAction::StageEnd, kKekkaClear, false},
        {"normal, last stage cleared", kModeNormal, 12, 3, 12, NextAction::FinalResults, kKekkaClear, false},
        {"exam", kModeHNormal, 25, 3, 10, NextAction::FinalResults, kKekkaClear, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        for (const char* file : {kSeikaiFileName, kSaveLoadFileName, kNanwidoFileName})
            std::remove((folder.Path() + "/" + file).c_str());
        DrillState state = StartedDrill(c.mode, c.questions, c.nokori);
        const NextStep step = PlayStage(state, c.correct);
        EXPECT_EQ(step.action, c.action);
        EXPECT_FALSE(step.writeFailure);
        if (c.action == NextAction::StageEnd) {
            EXPECT_EQ(step.stageEnd.kekka, c.kekka);
            EXPECT_EQ(step.stageEnd.saveOffered, c.autoStored);
        }
        EXPECT_EQ(SlotHoldsDrill(state.SaveLoadTable, 0), c.autoStored);
        ASSERT_TRUE(Written());
        EXPECT_EQ(folder.Read(kSaveLoadFileName), ReplaceAll(TableToText(state.SaveLoadTable), "\n", "\r\n"));
        EXPECT_EQ(folder.Read(kSeikaiFileName), ReplaceAll(TableToText(state.ToiSeikaiTable), "\n", "\r\n"));
    }
}

TEST_F(NextStepFiles, NothingIsWrittenWithinAStageWithoutTheBankOrAfterTheLastWrite)
{
    DrillState state = StartedDrill(kModeNormal, 45);
    GivenAnswer given;
    given.typed = "A";
    JudgeToi(state, given);
    EXPECT_EQ(StepAfterNext(state).action, NextAction::PresentNext);
    EXPECT_FALSE(Written());

    state.ToiFileFound = false;
    PlayStage(state, 19);
    EXPECT_FALSE(Written());

    state = StartedDrill(kModeNormal, 45);
    EXPECT_TRUE(WriteLastProgress(state).ok);
    EXPECT_TRUE(Written());
    folder.Write(kNanwidoFileName, "5");
    PlayStage(state, 20);
    EXPECT_EQ(folder.Read(kNanwidoFileName), "5") << "nothing after the last write";
    EXPECT_TRUE(WriteLastProgress(state).ok);
    EXPECT_EQ(folder.Read(kNanwidoFileName), "5") << "the last write is made once";
}

// A disk that stays full is told once, not at every stage end; the drill and
// "AUTO" go on in memory, and a write that succeeds again re-arms the telling.
TEST_F(NextStepFiles, WriteFailureIsToldOnceUntilAWriteSucceeds)
{
    DrillState state = StartedDrill(kModeNormal, 100);
    SetWriteFault(WriteFault::Write, -1);
    NextStep step = PlayStage(state, 20);
    ASSERT_TRUE(step.writeFailure);
    EXPECT_FALSE(step.writeFailure->ok);
    ASSERT_EQ(step.writeFailure->failed.size(), 3u) << "each file is tried on its own";
    EXPECT_EQ(step.writeFailure->failed[0].fileName, kSeikaiFileName);
    EXPECT_EQ(step.writeFailure->failed[0].error.number, ENOSPC);
    EXPECT_EQ(step.action, NextAction::StageEnd);
    EXPECT_TRUE(SlotHoldsDrill(state.SaveLoadTable, 0));
    EXPECT_FALSE(Written());

    PrepareNextStage(state);
    step = PlayStage(state, 20);
    EXPECT_EQ(step.action, NextAction::StageEnd);
    EXPECT_FALSE(step.writeFailure) << "told already";
    EXPECT_EQ(state.StageNo, 2);

    SetWriteFault(WriteFault::None);
    PrepareNextStage(state);
    EXPECT_FALSE(PlayStage(state, 20).writeFailure);
    EXPECT_TRUE(Written());

    SetWriteFault(WriteFault::Rename, -1);
    PrepareNextStage(state);
    step = PlayStage(state, 20);
    ASSERT_TRUE(step.writeFailure) << "told again after a write succeeded";
    ASSERT_FALSE(step.writeFailure->failed.empty());
    EXPECT_EQ(step.writeFailure->failed[0].fileName, kSeikaiFileName);
}

// A database the start-up could not read is never overwritten, at a stage end
// as at the close.
TEST_F(NextStepFiles, DatabaseThatCouldNotBeReadIsLeftAlone)
{
    DrillState state = StartedDrill(kModeRand, 45);
    state.Writing.writeSaveLoad = false;
    folder.Write(kSaveLoadFileName, "unreadable at start-up");
    PlayStage(state, 20);
    EXPECT_EQ(folder.Read(kSaveLoadFileName), "unreadable at start-up");
    EXPECT_TRUE(folder.Exists(kSeikaiFileName));
    EXPECT_TRUE(folder.Exists(kNanwidoFileName));
}

} // namespace
