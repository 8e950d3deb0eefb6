#include "drill/Judge.h"
#include "drill/StageEnd.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <numeric>

namespace {

// A run as the start handlers leave it: list 1..n in bank order.
DrillState StartRun(PlayModeValue mode, std::int32_t n, NanwidoValue nanwido)
{
    DrillState state;
    state.ToiTable[0] = {"key"};
    state.ToiSeikaiTable[0] = {"key", "count"};
    for (std::int32_t i = 1; i <= n; ++i) {
        state.ToiTable[i] = {"Q" + IntToText(i), "question", "explanation", "A"};
        state.ToiSeikaiTable[i] = {"Q" + IntToText(i), "0"};
        state.ToiList.push_back(i);
    }
    state.StageTable[0] = {"correct", "answered"};
    state.PlayMode = mode;
    state.Nanwido = nanwido;
    state.Nokori = 3;
    state.StageNo = 1;
    return state;
}

// Judges questions and presses [次へ] until something other than the next
// question follows; the first `correct` of them are answered right.
NextOutcome PlayStage(DrillState& state, std::uint32_t correct)
{
    for (std::uint32_t answered = 0;; ++answered) {
        GivenAnswer given;
        given.typed = answered < correct ? "A" : "B";
        JudgeToi(state, given);
        NextOutcome outcome = AdvanceAfterNext(state);
        if (outcome.action != NextAction::PresentNext)
            return outcome;
    }
}

// The stage end stores the run into slot 1 ("AUTO") when its screen offers saving.
bool AutoSaves(const NextOutcome& outcome, const DrillState& state)
{
    return outcome.action == NextAction::StageEnd && ViewOfStageEnd(state).saveOffered;
}

TEST(StagePercent, TruncatesAndIsZeroWithoutAnswers)
{
    struct Case { std::uint32_t seikai, toi, percent; };
    for (const Case& c : {Case {2, 3, 66}, Case {19, 20, 95}, Case {18, 20, 90}, Case {20, 20, 100},
                          Case {0, 20, 0}, Case {0, 0, 0}, Case {5, 0, 0}, Case {4000000000u, 1, 4294967295u}})
        EXPECT_EQ(StagePercent(c.seikai, c.toi), c.percent) << c.seikai << "/" << c.toi;
}

TEST(AdvanceAfterNext, PassLineMustBeExceeded)
{
    struct Case { NanwidoValue nanwido; std::uint32_t correct; std::int32_t kekka; };
    const Case cases[] = {
        {kNanwidoA, 19, kKekkaClear}, {kNanwidoA, 18, kKekkaRetry}, {kNanwidoC, 15, kKekkaClear},
        {kNanwidoC, 14, kKekkaRetry}, {kNanwidoF, 9, kKekkaClear},  {kNanwidoF, 8, kKekkaRetry},
    };
    for (const Case& c : cases) {
        DrillState state = StartRun(kModeNormal, 45, c.nanwido);
        const NextOutcome outcome = PlayStage(state, c.correct);
        EXPECT_EQ(state.StageKekka, c.kekka) << "difficulty " << c.nanwido << ", " << c.correct << " of 20";
        EXPECT_EQ(outcome.action, NextAction::StageEnd);
        EXPECT_TRUE(AutoSaves(outcome, state));
        EXPECT_EQ(state.Nokori, c.kekka == kKekkaClear ? 3 : 2);
        EXPECT_EQ(state.ToiIndex, c.kekka == kKekkaClear ? 20u : 0u);
        EXPECT_EQ(state.StageTable[1], (TextRow {std::to_string(c.correct), "20"}));
    }
}

TEST(AdvanceAfterNext, FortyFiveQuestionsPlayInStagesOfTwentyTwentyAndFive)
{
    DrillState state = StartRun(kModeNormal, 45, kNanwidoC);
    struct Stage { std::uint32_t correct, endIndex, answered; NextAction action; bool autoSave; };
    const Stage stages[] = {
        {20, 20, 20, NextAction::StageEnd, true},
        {16, 40, 20, NextAction::StageEnd, true},
        {4, 45, 5, NextAction::FinalResults, false}, // 80 at Ｃ clears the short last stage
    };
    for (std::size_t s = 0; s < std::size(stages); ++s) {
        const NextOutcome outcome = PlayStage(state, stages[s].correct);
        EXPECT_EQ(state.StageNo, static_cast<std::int32_t>(s + 1));
        EXPECT_EQ(state.ToiIndex, stages[s].endIndex);
        EXPECT_EQ(state.StageToiCount, stages[s].answered);
        EXPECT_EQ(outcome.action, stages[s].action);
        EXPECT_EQ(AutoSaves(outcome, state), stages[s].autoSave);
        EXPECT_EQ(state.StageKekka, kKekkaClear);
        PrepareNextStage(state);
        EXPECT_EQ(state.StageToiCount, 0u);
        EXPECT_EQ(state.StageSeikaiCount, 0u);
    }
    const std::vector<SeisekiRow> rows = FinalResultRows(state);
    ASSERT_EQ(rows.size(), 3u);
    const std::uint32_t percents[] = {100, 80, 80};
    for (std::size_t i = 0; i < rows.size(); ++i) {
        EXPECT_EQ(rows[i].stage, static_cast<std::int32_t>(i + 1));
        EXPECT_EQ(rows[i].percent, percents[i]);
    }
}

TEST(AdvanceAfterNext, ThreeFailedStagesEndInGameOverWithoutAutoSave)
{
    DrillState state = StartRun(kModeRand, 45, kNanwidoF);
    PlayStage(state, 20);
    PrepareNextStage(state);
    ASSERT_EQ(state.StageNo, 2);
    for (std::int32_t nokori : {2, 1, 0}) {
        const NextOutcome outcome = PlayStage(state, 3);
        EXPECT_EQ(state.Nokori, nokori);
        EXPECT_EQ(outcome.action, NextAction::StageEnd);
        EXPECT_EQ(state.StageKekka, nokori > 0 ? kKekkaRetry : kKekkaGameOver);
        EXPECT_EQ(AutoSaves(outcome, state), nokori > 0);
        EXPECT_EQ(state.StageTable[2], (TextRow {"3", "20"}));
        if (nokori > 0) {
            EXPECT_EQ(state.ToiIndex, 20u) << "the failed stage starts again";
            PrepareNextStage(state);
            EXPECT_EQ(state.StageNo, 2) << "a repeated stage keeps its number";
        }
    }
}

// Chances already used up (a state no run reaches) end the run at a failed
// stage instead of counting on below zero, where the smallest number would wrap.
TEST(AdvanceAfterNext, UsedUpChancesEndInGameOverWithoutWrapping)
{
    for (std::int32_t nokori : {0, -5, INT32_MIN}) {
        DrillState state = StartRun(kModeNormal, 45, kNanwidoF);
        state.Nokori = nokori;
        const NextOutcome outcome = PlayStage(state, 3);
        EXPECT_EQ(outcome.action, NextAction::StageEnd) << nokori;
        EXPECT_EQ(state.StageKekka, kKekkaGameOver) << nokori;
        EXPECT_EQ(state.Nokori, 0) << nokori;
        EXPECT_FALSE(AutoSaves(outcome, state)) << nokori;
    }
}

TEST(AdvanceAfterNext, FailedShortLastStageGoesBackToItsStart)
{
    DrillState state = StartRun(kModeNormal, 45, kNanwidoA);
    state.ToiIndex = 40;
    state.StageNo = 3;
    const NextOutcome outcome = PlayStage(state, 4);
    EXPECT_EQ(outcome.action, NextAction::StageEnd);
    EXPECT_EQ(state.StageKekka, kKekkaRetry);
    EXPECT_EQ(state.ToiIndex, 40u);
    EXPECT_EQ(state.StageTable[3], (TextRow {"4", "5"}));
}

TEST(AdvanceAfterNext, WeakPointStagesAlwaysClearAndRebuildTheList)
{
    for (std::int32_t n : {25, 5}) {
        DrillState state = StartRun(kModeJakuten, n, kNanwidoA);
        state.Nokori = 0;
        state.ToiSeikaiTable[1][1] = "3";
        const NextOutcome outcome = PlayStage(state, 0);
        EXPECT_EQ(outcome.action, NextAction::StageEnd) << "never the final results, n=" << n;
        EXPECT_FALSE(AutoSaves(outcome, state));
        EXPECT_EQ(state.StageKekka, kKekkaClear);
        EXPECT_EQ(state.Nokori, 0);
        EXPECT_EQ(state.ToiIndex, static_cast<std::uint32_t>(std::min(n, 20)));
        state.StageNo = 4;
        PrepareNextStage(state);
        EXPECT_EQ(state.ToiIndex, 0u);
        EXPECT_EQ(state.StageNo, 1);
        ASSERT_EQ(state.ToiList.size(), static_cast<std::size_t>(n));
        EXPECT_EQ(state.ToiList.front(), 2);
        EXPECT_EQ(state.ToiList.back(), 1) << "the most often right question goes last";
    }
}

TEST(AdvanceAfterNext, ExamModesRunTheWholeListAsOneStage)
{
    for (PlayModeValue mode : {kModeHNormal, kModeHRand}) {
        DrillState state = StartRun(mode, 45, kNanwidoA);
        state.StageTable[1] = {"0", "0"};
        state.StageTable[2] = {"0", "0"};
        const NextOutcome outcome = PlayStage(state, 30);
        EXPECT_EQ(outcome.action, NextAction::FinalResults) << "no break at 20, mode " << mode;
        EXPECT_FALSE(AutoSaves(outcome, state));
        EXPECT_EQ(state.ToiIndex, 45u);
        EXPECT_EQ(state.Nokori, 3);
        EXPECT_EQ(state.StageTable[1], (TextRow {"30", "45"}));
        const std::vector<SeisekiRow> rows = FinalResultRows(state);
        ASSERT_EQ(rows.size(), 1u);
        EXPECT_EQ(rows[0].stage, 1);
        EXPECT_EQ(rows[0].percent, 66u);
    }
}

TEST(FinalResultRows, EveryStageRowAscendingWithoutPercentWhenNothingWasAnswered)
{
    DrillState state;
    state.StageTable[0] = {"correct", "answered"};
    state.StageTable[3] = {"5", "20"};
    state.StageTable[1] = {"18", "20"};
    state.StageTable[2] = {"0", "0"};
    state.StageTable[4] = {"x"};
    state.StageTable[5] = {"-4", "10"};
    const std::vector<SeisekiRow> rows = FinalResultRows(state);
    const std::vector<std::optional<std::uint32_t>> percents {90u, std::nullopt, 25u, std::nullopt, 0u};
    ASSERT_EQ(rows.size(), percents.size());
    for (std::size_t i = 0; i < rows.size(); ++i) {
        EXPECT_EQ(rows[i].stage, static_cast<std::int32_t>(i + 1));
        EXPECT_EQ(rows[i].percent, percents[i]) << "stage " << i + 1;
    }
}

TEST(RaiseDifficulty, OneStepTowardsAAndAStaysA)
{
    struct Case { NanwidoValue before, after; };
    for (const Case& c : {Case {kNanwidoC, kNanwidoB}, Case {kNanwidoF, kNanwidoE}, Case {kNanwidoB, kNanwidoA},
                          Case {kNanwidoA, kNanwidoA}}) {
        DrillState state;
        state.Nanwido = c.before;
        RaiseDifficulty(state);
        EXPECT_EQ(state.Nanwido, c.after) << c.before;
    }
}

TEST(RemoveStageRows, KeepsOnlyTheHeader)
{
    TextTable stages {{0, {"correct", "answered"}}, {1, {"1", "2"}}, {2, {"3", "4"}}, {7, {"5", "6"}}};
    RemoveStageRows(stages);
    EXPECT_EQ(stages, (TextTable {{0, {"correct", "answered"}}}));
    TextTable empty;
    RemoveStageRows(empty);
    EXPECT_TRUE(empty.empty());
}

} // namespace

// What the stage-end screen shows, for each kind of stage end.
TEST(ViewOfStageEnd, EachKindOfStageEnd)
{
    const struct {
        const char* name;
        PlayModeValue mode;
        StageKekkaValue kekka;
        bool kekkaShown, saveOffered, nextStageShown, sameStageAgain;
    } cases[] = {
        {"normal, cleared", kModeNormal, kKekkaClear, true, true, true, false},
        {"random, failed", kModeRand, kKekkaRetry, true, true, true, true},
        {"normal, game over", kModeNormal, kKekkaGameOver, true, false, false, true},
        {"random, game over", kModeRand, kKekkaGameOver, true, false, false, true},
        {"weak point", kModeJakuten, kKekkaClear, false, false, true, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        DrillState state = StartRun(c.mode, 45, kNanwidoD);
        state.StageKekka = c.kekka;
        state.StageNo = 2;
        state.Nokori = 1;
        state.StageToiCount = 20;
        state.StageSeikaiCount = 15;
        const StageEndView view = ViewOfStageEnd(state);
        EXPECT_EQ(view.stageNo, 2);
        EXPECT_EQ(view.mode, c.mode);
        EXPECT_EQ(view.kekka, c.kekka);
        EXPECT_EQ(view.kekkaShown, c.kekkaShown);
        EXPECT_EQ(view.saveOffered, c.saveOffered);
        EXPECT_EQ(view.nextStageShown, c.nextStageShown);
        EXPECT_EQ(view.sameStageAgain, c.sameStageAgain);
        EXPECT_EQ(view.nokori, 1);
        EXPECT_EQ(view.nanwido, kNanwidoD);
        EXPECT_EQ(view.toiCount, 20u);
        EXPECT_EQ(view.seikaiCount, 15u);
    }
}
