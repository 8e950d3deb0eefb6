// Study by area: the areas of a bank, the area limit in every mode with the
// order rules kept, 全分野 giving the very lists of a bank without areas, and
// the questions whose last answer was wrong.
#include "drill/Bunya.h"
#include "drill/ToiSelection.h"
#include "saveload/SaveSlots.h"
#include "data/ProgressDb.h"
#include "data/SlotCells.h"
#include "data/BunyaFile.h"
#include "data/DataTexts.h"

#include "support/WorkFolder.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

// Rows 1..n keyed Q<i>; areas (ninth cell) from the list, "" for none, and
// no ninth cell at all when the list is empty.
TextTable Bank(std::int32_t n, const std::vector<std::string>& areas = {})
{
    TextTable bank;
    bank[0] = {"key", "text", "k", "s", "0", "0", "0", "0"};
    for (std::int32_t i = 1; i <= n; ++i) {
        bank[i] = {"Q" + IntToText(i), "text", "k", "s", "0", "0", "0", "0"};
        if (!areas.empty())
            bank[i].push_back(areas[static_cast<std::size_t>(i - 1) % areas.size()]);
    }
    return bank;
}

KirokuEntry Answer(std::string key, bool seikai)
{
    KirokuEntry e;
    e.key = std::move(key);
    e.seikai = seikai;
    return e;
}

TEST(Bunya, AreasInTheOrderTheyFirstAppear)
{
    EXPECT_TRUE(BunyaNames(Bank(5)).empty());
    EXPECT_TRUE(BunyaNames(Bank(5, {""})).empty());
    const TextTable bank = Bank(7, {"B", "A", "", "B"});
    EXPECT_EQ(BunyaNames(bank), (std::vector<std::string> {"B", "A"}));
    EXPECT_EQ(RowsOfBunya(bank, "B"), (std::vector<std::int32_t> {1, 4, 5}));
    EXPECT_EQ(RowsOfBunya(bank, "A"), (std::vector<std::int32_t> {2, 6}));
    EXPECT_TRUE(RowsOfBunya(bank, "").empty());
    EXPECT_TRUE(RowsOfBunya(bank, "C").empty());
}

TEST(Bunya, AreaNamesAreTrimmedAndABlankOneIsNoArea)
{
    // 全分野 with a blank after it, blanks only, an area with ASCII and
    // ideographic blanks around it, and the same area as it should be.
    const std::string zenbunya(kBunyaAll);
    const TextTable bank = Bank(4, {zenbunya + " ", " \x81\x40 ", "\x81\x40SQL ", "SQL"});
    EXPECT_EQ(BunyaNames(bank), (std::vector<std::string> {"SQL"}));
    EXPECT_EQ(RowsOfBunya(bank, "SQL"), (std::vector<std::int32_t> {3, 4}));
    DrillState state;
    state.ToiTable = bank;
    // A choice remembered untrimmed names the same area.
    ChooseBunya(state, "SQL\x81\x40", {}, 0);
    EXPECT_EQ(state.Bunya, "SQL");
    EXPECT_EQ(state.BunyaRows, (std::vector<std::int32_t> {3, 4}));
    ChooseBunya(state, zenbunya + " ", {}, 0);
    EXPECT_TRUE(state.Bunya.empty());
    EXPECT_TRUE(state.BunyaRows.empty());
}

TEST(Bunya, AllAreasGivesEveryModesListOfABankWithoutAreas)
{
    for (const TextTable& bank : {Bank(45), Bank(45, {"A", "B", ""})}) {
        DrillState state;
        state.ToiTable = bank;
        state.ToiSeikaiTable = BuildSeikaiTable(bank);
        state.ToiSeikaiTable[7][1] = "3";
        state.ToiSeikaiTable[2][1] = "1";
        for (const std::string& choice : {std::string(), std::string(kBunyaAll)}) {
            ChooseBunya(state, choice, {}, 0);
            EXPECT_TRUE(state.Bunya.empty());
            for (std::int32_t mode = 0; mode <= 4; ++mode)
                for (std::time_t seed : {std::time_t {1}, std::time_t {1700000000}}) {
                    const auto all = ToiListFor(mode, bank, state.ToiSeikaiTable, seed);
                    EXPECT_EQ(ToiListWithin(mode, RowsOfBunya(Bank(45, {"X"}), "X"), state.ToiSeikaiTable, seed), all);
                }
        }
    }
}

TEST(Bunya, AnAreaLimitsEveryModeAndKeepsItsOrderRule)
{
    const TextTable bank = Bank(60, {"A", "B", "C"});
    TextTable counts = BuildSeikaiTable(bank);
    counts[1][1] = "5";
    counts[4][1] = "2";
    counts[10][1] = "2";
    const std::vector<std::int32_t> rows = RowsOfBunya(bank, "A"); // 1, 4, 7, ..., 58
    ASSERT_EQ(rows.size(), 20u);
    EXPECT_EQ(ToiListWithin(kModeNormal, rows, counts, 1), rows);
    EXPECT_EQ(ToiListWithin(kModeHNormal, rows, counts, 1), rows);
    // Seeded: the shuffle of 20 rows, mapped onto the area's rows.
    const auto shuffled = ShuffleRows(20, 1);
    for (std::int32_t mode : {kModeRand, kModeHRand}) {
        const auto list = ToiListWithin(mode, rows, counts, 1);
        ASSERT_EQ(list.size(), rows.size());
        for (std::size_t i = 0; i < list.size(); ++i)
            EXPECT_EQ(list[i], rows[static_cast<std::size_t>(shuffled[i] - 1)]);
        EXPECT_EQ(ToiListWithin(mode, rows, counts, 1), list); // same second, same order
    }
    // Weak points: fewest correct first, ties in row order; only area A.
    auto jakuten = ToiListWithin(kModeJakuten, rows, counts, 1);
    ASSERT_EQ(jakuten.size(), rows.size());
    EXPECT_EQ(jakuten.back(), 1);
    EXPECT_EQ(jakuten[jakuten.size() - 2], 10);
    EXPECT_EQ(jakuten[jakuten.size() - 3], 4);
    EXPECT_EQ(jakuten.front(), 7);
    EXPECT_TRUE(std::is_permutation(jakuten.begin(), jakuten.end(), rows.begin()));
}

TEST(Bunya, RecentMissesAreTheQuestionsWhoseLastAnswerWasWrong)
{
    TextTable bank = Bank(5);
    bank[5][0] = "Q2"; // a key held twice is asked once
    const std::vector<KirokuEntry> journal {Answer("Q1", false), Answer("Q2", false), Answer("Q3", true),
                                            Answer("Q1", true), Answer("Q3", false), Answer("Q9", false)};
    EXPECT_EQ(RecentMissRows(bank, journal), (std::vector<std::int32_t> {2, 3}));
    DrillState state;
    state.ToiTable = bank;
    ChooseBunya(state, kBunyaRecentMiss, journal, 0);
    EXPECT_EQ(state.Bunya, kBunyaRecentMiss);
    EXPECT_EQ(state.BunyaRows, (std::vector<std::int32_t> {2, 3}));
    state.PlayMode = kModeNormal;
    BuildToiList(state);
    EXPECT_EQ(state.ToiList, (std::vector<std::int32_t> {2, 3}));
    ChooseBunya(state, kBunyaRecentMiss, {}, 0);
    BuildToiList(state);
    EXPECT_TRUE(state.ToiList.empty());
}

KirokuEntry AnswerOn(std::string key, bool seikai, std::int32_t day)
{
    KirokuEntry e = Answer(std::move(key), seikai);
    e.day = day;
    return e;
}

TEST(Bunya, TodaysReviewIsTheQuestionsDueTheMostOverdueFirstInEveryModesOrder)
{
    // A first right answer is due 2 days on, a first wrong one the next day.
    const TextTable bank = Bank(6);
    const std::vector<KirokuEntry> journal {AnswerOn("Q1", true, 97),  AnswerOn("Q2", false, 99),
                                            AnswerOn("Q3", true, 99),  AnswerOn("Q4", false, 95),
                                            AnswerOn("Q9", false, 90), AnswerOn("Q5", true, 100)};
    DrillState state;
    state.ToiTable = bank;
    state.ToiSeikaiTable = BuildSeikaiTable(bank);
    state.ToiSeikaiTable[2][1] = "4";
    ChooseBunya(state, kBunyaFukushu, journal, 100);
    EXPECT_EQ(state.Bunya, kBunyaFukushu);
    // Due on days 96, 99 and 100; Q3 and Q5 later, Q6 never answered.
    EXPECT_EQ(state.BunyaRows, (std::vector<std::int32_t> {4, 1, 2}));
    state.PlayMode = kModeNormal;
    BuildToiList(state);
    EXPECT_EQ(state.ToiList, state.BunyaRows);
    state.PlayMode = kModeJakuten; // fewest correct first: Q2 has four
    BuildToiList(state);
    EXPECT_EQ(state.ToiList, (std::vector<std::int32_t> {1, 4, 2}));
    state.PlayMode = kModeRand;
    BuildToiList(state);
    EXPECT_TRUE(std::is_permutation(state.ToiList.begin(), state.ToiList.end(), state.BunyaRows.begin(),
                                    state.BunyaRows.end()));
    // Two days earlier nothing was due yet.
    ChooseBunya(state, kBunyaFukushu, journal, 95);
    EXPECT_TRUE(state.BunyaRows.empty());
    // A bank naming an area like the choice does not shadow it.
    EXPECT_TRUE(BunyaNames(Bank(3, {kBunyaFukushu})).empty());
}

TEST(Bunya, ASlotOfAnAreaRunRestoresThatRunAndOthersKeepEightCells)
{
    DrillState state;
    state.ToiTable = Bank(60, {"A", "B", "C"});
    state.ToiSeikaiTable = BuildSeikaiTable(state.ToiTable);
    state.SaveLoadTable = BuildEmptySaveTable(61);
    state.StageTable = BuildStageTable(61);
    state.PlayMode = kModeRand;
    state.Nokori = 3;
    state.Nanwido = kNanwidoC;
    ChooseBunya(state, "B", {}, 0);
    BuildToiList(state);
    state.ToiIndex = 10;
    StoreSessionInSlot(state, 2);
    ASSERT_EQ(state.SaveLoadTable.at(3).size(), 9u);
    EXPECT_EQ(state.SaveLoadTable.at(3)[SlotCell::Bunya], "B");
    const auto list = state.ToiList;

    DrillState later;
    later.ToiTable = state.ToiTable;
    later.SaveLoadTable = state.SaveLoadTable;
    later.StageTable = BuildStageTable(61);
    ASSERT_EQ(RestoreSessionFromSlot(later, 2), RestoreProblem::None);
    EXPECT_EQ(later.Bunya, "B");
    EXPECT_EQ(later.ToiList, list);
    EXPECT_EQ(later.BunyaRows, RowsOfBunya(state.ToiTable, "B"));
    EXPECT_EQ(later.ToiIndex, 10u);

    ChooseBunya(state, kBunyaAll, {}, 0);
    StoreSessionInSlot(state, 3);
    EXPECT_EQ(state.SaveLoadTable.at(4).size(), 8u);
    ASSERT_EQ(RestoreSessionFromSlot(later, 3), RestoreProblem::None);
    EXPECT_TRUE(later.Bunya.empty());
}

TEST(BunyaFile, TheChoiceIsRememberedInAFileOfItsOwn)
{
    WorkFolder folder;
    EXPECT_EQ(ReadBunyaChoice(), "");
    ASSERT_TRUE(WriteBunyaChoice("\x83\x66\x81\x5B\x83\x5E")); // データ
    EXPECT_EQ(ReadBunyaChoice(), "\x83\x66\x81\x5B\x83\x5E");
    EXPECT_EQ(folder.Read(kBunyaFileName), "\"\x95\xAA\x96\xEC\"\r\n\"\x83\x66\x81\x5B\x83\x5E\"\r\n");
    EXPECT_FALSE(folder.Exists(DataTexts::kSeikaiFileName));
}

TEST(BunyaFile, FixedChoicesAreTheirShiftJisTexts)
{
    EXPECT_EQ(std::string(kBunyaAll), Sjis("全分野"));
    EXPECT_EQ(std::string(kBunyaRecentMiss), Sjis("最近間違えた問題"));
    EXPECT_EQ(std::string(kBunyaFukushu), Sjis("今日の復習"));
}

} // namespace
