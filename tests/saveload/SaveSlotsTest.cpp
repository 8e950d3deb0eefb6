#include "text/Clock.h"
#include "data/DataTexts.h"
#include "drill/Judge.h"
#include "drill/StageEnd.h"
#include "saveload/SaveSlots.h"
#include "support/DrillExpect.h"
#include "support/FixedClock.h"

#include <gtest/gtest.h>

#include <cstdint>

namespace {

constexpr std::time_t kStoreTime = 1796586175; // Sun Dec 06 19:42:55 2026 (UTC)

TextRow HeaderRow()
{
    using namespace DataTexts;
    return {kHeadPlayMode, kHeadToiList, kHeadToiIndex, kHeadStageTable, kHeadEmpty, kHeadDate, kHeadNanwido, kHeadNokori};
}

// Rows 1..n joined with "<%>".
std::string BankOrder(int n)
{
    std::string list = "1";
    for (int i = 2; i <= n; ++i)
        list += "<%>" + std::to_string(i);
    return list;
}

// What an empty slot holds for a bank of 45 questions.
TextRow EmptySlot()
{
    return {"NORMAL", BankOrder(45), "0", "0<%>0<$>0<%>0", "0", DataTexts::kNewData, "5", "3"};
}

// A drill in the middle of a run, with a 45-question bank and slots 1..slots.
DrillState MakeDrill(int slots = 9)
{
    DrillState state;
    state.ToiTable[0] = {"key"};
    for (std::int32_t i = 1; i <= 45; ++i)
        state.ToiTable[i] = {"Q" + IntToText(i), "question", "explanation", "A"};
    state.StageTable[0] = {"correct", "answered"};
    state.SaveLoadTable[0] = HeaderRow();
    for (int s = 1; s <= slots; ++s)
        state.SaveLoadTable[s] = EmptySlot();
    state.PlayMode = kModeRand;
    state.Nanwido = kNanwidoC;
    state.Nokori = 3;
    state.StageNo = 1;
    return state;
}

TEST(SessionToSlotRow, HoldsTheEightCellsOfTheDrill)
{
    DrillState state = MakeDrill();
    state.ToiList = {7, 2, 9};
    state.ToiIndex = 2;
    state.StageTable[1] = {"18", "20"};
    state.StageTable[2] = {"20", "20"};
    state.Nokori = 1;
    EXPECT_EQ(SessionToSlotRow(state, "Sun Dec 06 19:42:55 2026"),
              (TextRow {"RAND", "7<%>2<%>9", "2", "18<%>20<$>20<%>20", "1", "Sun Dec 06 19:42:55 2026", "2", "1"}));

    for (PlayModeValue mode : {kModeNormal, kModeRand, kModeJakuten, kModeHNormal, kModeHRand}) {
        state.PlayMode = mode;
        EXPECT_EQ(SessionToSlotRow(state, "")[0], mode == 0 ? "NORMAL" : "RAND") << mode;
    }

    // No stage rows store an empty cell; a missing stage keeps its place.
    state.StageTable = {{0, {"h", "h"}}};
    EXPECT_EQ(SessionToSlotRow(state, "")[3], "");
    state.StageTable[1] = {"5", "20"};
    state.StageTable[3] = {"7", "9"};
    EXPECT_EQ(SessionToSlotRow(state, "")[3], "5<%>20<$><%><$>7<%>9");
}

TEST(StoreSessionInSlot, ReplacesOnlySlotRowRPlusOne)
{
    FixedClock::Set(kStoreTime);
    DrillState state = MakeDrill();
    state.ToiList = {3, 1, 2};
    TextTable expected = state.SaveLoadTable;
    StoreSessionInSlot(state, 2);
    expected[3] = SessionToSlotRow(state, "Sun Dec 06 19:42:55 2026");
    EXPECT_EQ(state.SaveLoadTable, expected);
    StoreSessionInSlot(state, -1);
    EXPECT_EQ(state.SaveLoadTable, expected) << "no slot before the first";
    FixedClock::Set(std::nullopt);
}

TEST(RestoreSessionFromSlot, EmptySlotStartsANormalDrillAtTheFirstQuestion)
{
    DrillState state = MakeDrill();
    state.StageToiCount = 7;
    state.StageSeikaiCount = 4;
    ASSERT_EQ(RestoreSessionFromSlot(state, 0), RestoreProblem::None);
    EXPECT_EQ(state.PlayMode, kModeNormal);
    ASSERT_EQ(state.ToiList.size(), 45u);
    EXPECT_EQ(state.ToiList.front(), 1);
    EXPECT_EQ(state.ToiList.back(), 45);
    EXPECT_EQ(state.ToiIndex, 0u);
    EXPECT_EQ(state.StageNo, 1);
    EXPECT_EQ(state.Nanwido, 5);
    EXPECT_EQ(state.Nokori, 3);
    EXPECT_EQ(state.StageToiCount, 0u);
    EXPECT_EQ(state.StageSeikaiCount, 0u);
    EXPECT_EQ(state.StageTable[2], (TextRow {"0", "0"}));
}

TEST(RestoreSessionFromSlot, ReadsModeStageAndDifficultyFromTheCells)
{
    struct Case { std::string mode, index, nanwido; std::int32_t playMode; std::int32_t stageNo; std::int32_t restoredNanwido; };
    const Case cases[] = {
        {"NORMAL", "40", "0", kModeNormal, 3, 0}, {"RAND", "0", "3", kModeRand, 1, 3},
        {"normal", "39", "5", kModeRand, 2, 5},   {"", "19", "9", kModeRand, 1, 5},
        {"NORMAL ", "44", "-1", kModeRand, 3, 5}, {"NORMAL", "20", "abc", kModeNormal, 2, 0},
    };
    for (const Case& c : cases) {
        DrillState state = MakeDrill();
        state.SaveLoadTable[4][0] = c.mode;
        state.SaveLoadTable[4][2] = c.index;
        state.SaveLoadTable[4][6] = c.nanwido;
        ASSERT_EQ(RestoreSessionFromSlot(state, 3), RestoreProblem::None) << c.index;
        EXPECT_EQ(state.PlayMode, c.playMode) << '"' << c.mode << '"';
        EXPECT_EQ(state.ToiIndex, static_cast<std::uint32_t>(TextToInt(c.index)));
        EXPECT_EQ(state.StageNo, c.stageNo) << c.index;
        EXPECT_EQ(state.Nanwido, c.restoredNanwido) << c.nanwido;
    }
}

TEST(RestoreSessionFromSlot, StageRowsReplaceThoseStoredAndLeaveLaterOnes)
{
    DrillState state = MakeDrill();
    for (std::int32_t s = 1; s <= 4; ++s)
        state.StageTable[s] = {"9", "9"};
    state.SaveLoadTable[2][3] = "18<%>20<$>3";
    ASSERT_EQ(RestoreSessionFromSlot(state, 1), RestoreProblem::None);
    EXPECT_EQ(state.StageTable, (TextTable {{0, {"correct", "answered"}}, {1, {"18", "20"}}, {2, {"3"}},
                                            {3, {"9", "9"}}, {4, {"9", "9"}}}));
    state.SaveLoadTable[2][3] = "";
    const TextTable before = state.StageTable;
    ASSERT_EQ(RestoreSessionFromSlot(state, 1), RestoreProblem::None);
    EXPECT_EQ(state.StageTable, before) << "an empty cell holds no stage row";
}

TEST(RestoreSessionFromSlot, AutoSaveAfterAFailedStageResumesThatStage)
{
    FixedClock::Set(kStoreTime);
    DrillState state = MakeDrill();
    state.PlayMode = kModeNormal;
    for (std::int32_t i = 1; i <= 45; ++i)
        state.ToiList.push_back(i);
    NextOutcome outcome;
    for (std::uint32_t correct : {20u, 3u}) {
        std::uint32_t answered = 0;
        do {
            GivenAnswer given;
            given.typed = answered++ < correct ? "A" : "B";
            JudgeToi(state, given);
            outcome = AdvanceAfterNext(state);
        } while (outcome.action == NextAction::PresentNext);
        PrepareNextStage(state);
    }
    ASSERT_EQ(outcome.action, NextAction::StageEnd);
    StoreSessionInSlot(state, 0);
    EXPECT_EQ(state.SaveLoadTable[1][2], "20");
    EXPECT_EQ(state.SaveLoadTable[1][7], "2");

    DrillState resumed = MakeDrill();
    resumed.SaveLoadTable = state.SaveLoadTable;
    ASSERT_EQ(RestoreSessionFromSlot(resumed, 0), RestoreProblem::None);
    EXPECT_EQ(resumed.PlayMode, kModeNormal);
    EXPECT_EQ(resumed.ToiList, state.ToiList);
    EXPECT_EQ(resumed.ToiIndex, 20u);
    EXPECT_EQ(resumed.StageNo, 2);
    EXPECT_EQ(resumed.Nokori, 2);
    EXPECT_EQ(resumed.Nanwido, 2);
    EXPECT_EQ(resumed.StageTable, state.StageTable);
    FixedClock::Set(std::nullopt);
}

TEST(RestoreSessionFromSlot, RefusesBadSlotsBeforeChangingAnything)
{
    struct Case { int r; int cell; std::string text; RestoreProblem problem; std::int32_t badRow; };
    const Case cases[] = {
        {-1, 1, "1", RestoreProblem::NoSuchSlot, 0},
        {9, 1, "1", RestoreProblem::NoSuchSlot, 0},
        {2, 1, "", RestoreProblem::EmptyList, 0},
        {2, 1, "1<%>46<%>2", RestoreProblem::RowOutsideBank, 46},
        {2, 1, "1<%><%>2", RestoreProblem::RowOutsideBank, 0},
        {2, 1, "-3", RestoreProblem::RowOutsideBank, -3},
        {2, 1, "NONE", RestoreProblem::RowOutsideBank, 0},
        {2, 1, BankOrder(45) + "<%>1", RestoreProblem::ListLongerThanBank, 0}, // 46 entries, all in the bank
        {2, 1, BankOrder(45) + "<%>", RestoreProblem::ListLongerThanBank, 0},
        {2, 2, "45", RestoreProblem::IndexOutsideList, 0},
        {2, 2, "-1", RestoreProblem::IndexOutsideList, 0},
    };
    for (const Case& c : cases) {
        DrillState state = MakeDrill();
        state.ToiList = {4, 5, 6};
        state.ToiIndex = 2;
        state.StageTable[1] = {"1", "2"};
        state.StageToiCount = 1;
        if (c.r == 2)
            state.SaveLoadTable[3][static_cast<std::size_t>(c.cell)] = c.text;
        const DrillState before = state;
        std::int32_t badRow = 0;
        EXPECT_EQ(CheckSlotRestorable(state, c.r, &badRow), c.problem) << c.r << " \"" << c.text << '"';
        EXPECT_EQ(badRow, c.badRow) << c.text;
        EXPECT_EQ(RestoreSessionFromSlot(state, c.r), c.problem);
        ExpectSameDrill(state, before);
    }
}

TEST(SaveSlots, ShortRowsAndFewerThanNineSlots)
{
    DrillState state = MakeDrill(3);
    state.SaveLoadTable[2] = {"NORMAL", "3<%>2", "1"};
    state.SaveLoadTable[3] = {"RAND"};

    const std::vector<SlotListRow> rows = SlotListRows(state.SaveLoadTable);
    ASSERT_EQ(rows.size(), 3u);
    const char* names[] = {"AUTO", "2", "3"};
    const char* modes[] = {"NORMAL", "NORMAL", "RAND"};
    const std::string dates[] = {DataTexts::kNewData, "", ""};
    for (std::size_t i = 0; i < rows.size(); ++i) {
        EXPECT_EQ(rows[i].name, names[i]);
        EXPECT_EQ(rows[i].mode, modes[i]);
        EXPECT_EQ(rows[i].date, dates[i]);
    }
    EXPECT_TRUE(SlotListRows(TextTable {{0, HeaderRow()}}).empty());

    EXPECT_EQ(RestoreSessionFromSlot(state, 3), RestoreProblem::NoSuchSlot);
    EXPECT_EQ(RestoreSessionFromSlot(state, 2), RestoreProblem::EmptyList);
    // Without its chances cell the slot has 0 chances left: no run has that.
    EXPECT_EQ(RestoreSessionFromSlot(state, 1), RestoreProblem::NokoriOutsideRun);
    state.SaveLoadTable[2].resize(8);
    state.SaveLoadTable[2][7] = "2";
    const TextTable stagesBefore = state.StageTable;
    ASSERT_EQ(RestoreSessionFromSlot(state, 1), RestoreProblem::None);
    EXPECT_EQ(state.ToiList, (std::vector<std::int32_t> {3, 2}));
    EXPECT_EQ(state.ToiIndex, 1u);
    EXPECT_EQ(state.Nanwido, 0) << "a missing cell reads as 0";
    EXPECT_EQ(state.Nokori, 2);
    EXPECT_EQ(state.StageTable, stagesBefore);
}

// A stored run has 1 to 3 chances left; any other count (a hand-edited or
// damaged file) is refused before anything changes, so the stage rules never
// see it.
TEST(RestoreSessionFromSlot, RefusesChancesNoRunCanHave)
{
    struct Case { std::string nokori; RestoreProblem problem; std::int32_t reported; };
    const Case cases[] = {
        {"1", RestoreProblem::None, 0},         {" +3", RestoreProblem::None, 0},
        {"0", RestoreProblem::NokoriOutsideRun, 0}, {"-5", RestoreProblem::NokoriOutsideRun, -5},
        {"4", RestoreProblem::NokoriOutsideRun, 4}, {"", RestoreProblem::NokoriOutsideRun, 0},
        {"-2147483648", RestoreProblem::NokoriOutsideRun, INT32_MIN},
        {"99999999999999999999", RestoreProblem::NokoriOutsideRun, INT32_MAX},
    };
    for (const Case& c : cases) {
        DrillState state = MakeDrill();
        state.Nokori = 3;
        state.SaveLoadTable[5][7] = c.nokori;
        const DrillState before = state;
        std::int32_t reported = 0;
        EXPECT_EQ(CheckSlotRestorable(state, 4, &reported), c.problem) << '"' << c.nokori << '"';
        EXPECT_EQ(reported, c.reported) << c.nokori;
        EXPECT_EQ(RestoreSessionFromSlot(state, 4), c.problem);
        if (c.problem == RestoreProblem::None)
            EXPECT_EQ(state.Nokori, TextToInt(c.nokori));
        else
            ExpectSameDrill(state, before);
    }
}

// The stage cell may not hold more stage rows than the bank has stages (45
// questions: three, the last one short): each would be a row of the final
// results. A short list still restores the bank's stage rows, since a store
// writes those.
TEST(RestoreSessionFromSlot, RefusesMoreStageRowsThanTheBankHasStages)
{
    struct Case { int listLength; std::string stages; RestoreProblem problem; };
    const Case cases[] = {
        {20, "20<%>20", RestoreProblem::None},
        {20, "20<%>20<$>0<%>0", RestoreProblem::None},
        {3, "0<%>0<$>0<%>0<$>0<%>0", RestoreProblem::None},
        {45, "0<%>0<$>0<%>0<$>0<%>0", RestoreProblem::None},
        {45, "0<%>0<$>0<%>0<$>0<%>0<$>0<%>0", RestoreProblem::StagesOutsideBank},
        {21, "<$><$><$>", RestoreProblem::StagesOutsideBank},
        {1, "", RestoreProblem::None},
    };
    for (const Case& c : cases) {
        DrillState state = MakeDrill();
        std::string list = "1";
        for (int i = 2; i <= c.listLength; ++i)
            list += "<%>" + std::to_string(i);
        state.SaveLoadTable[2][1] = list;
        state.SaveLoadTable[2][3] = c.stages;
        const DrillState before = state;
        EXPECT_EQ(RestoreSessionFromSlot(state, 1), c.problem) << c.listLength << " " << c.stages;
        if (c.problem != RestoreProblem::None) {
            ExpectSameDrill(state, before);
            continue;
        }
        // What is restored stores and restores again.
        StoreSessionInSlot(state, 1);
        DrillState again = state;
        EXPECT_EQ(RestoreSessionFromSlot(again, 1), RestoreProblem::None) << c.listLength << " " << c.stages;
    }
}

TEST(SlotHoldsDrill, CellFourReadsOne)
{
    TextTable table {{0, HeaderRow()}, {1, EmptySlot()}, {2, EmptySlot()}, {3, {"RAND", "1", "0", "", " 1x"}},
                     {4, {"RAND"}}};
    table[2][4] = "1";
    struct Case { int r; bool holds; };
    for (const Case& c : {Case {0, false}, Case {1, true}, Case {2, true}, Case {3, false}, Case {4, false},
                          Case {-1, false}})
        EXPECT_EQ(SlotHoldsDrill(table, c.r), c.holds) << c.r;
}

} // namespace
