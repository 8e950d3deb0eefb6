// The study record's figures on a journal built for the test.
#include "drill/KirokuFigures.h"

#include <gtest/gtest.h>

namespace {

constexpr std::int32_t kToday = 20500; // a day in 2026

TextTable Bank()
{
    TextTable bank;
    bank[0] = {"key", "text"};
    // Blanks around an area are no part of it: K2 is of A, K4 of none.
    const char* areas[] = {"A", "A ", "B", " "};
    for (std::int32_t i = 1; i <= 4; ++i)
        bank[i] = {"K" + IntToText(i), "text<$>of " + IntToText(i), "", "", "", "", "", "", areas[i - 1]};
    return bank;
}

KirokuEntry At(std::int32_t daysAgo, std::string key, bool seikai)
{
    KirokuEntry e;
    e.day = kToday - daysAgo;
    e.key = std::move(key);
    e.seikai = seikai;
    return e;
}

TEST(KirokuFigures, AnEmptyJournalHasNothingToShow)
{
    const KirokuFigures figures = ComputeKirokuFigures(Bank(), {}, kToday);
    EXPECT_EQ(figures.answers, 0);
    EXPECT_EQ(figures.streak, 0);
    EXPECT_TRUE(figures.misses.empty());
    EXPECT_EQ(figures.days.back().day, kToday);
    EXPECT_EQ(figures.days.front().day, kToday - 29);
}

TEST(KirokuFigures, DaysStreakAreasAndMisses)
{
    const std::vector<KirokuEntry> journal {
        At(40, "K1", true),  // before the chart, counts for all time
        At(9, "K1", false),  At(2, "K1", true), At(1, "K2", false), At(1, "K2", false), At(1, "K3", true),
        At(0, "K1", true),   At(0, "K4", false), At(0, "K9", false), // K9: no longer in the bank
    };
    const KirokuFigures f = ComputeKirokuFigures(Bank(), journal, kToday);
    EXPECT_EQ(f.answers, 9);
    EXPECT_EQ(f.days[29].seikai, 1);
    EXPECT_EQ(f.days[29].fuseikai, 2);
    EXPECT_EQ(f.days[28].seikai, 1);
    EXPECT_EQ(f.days[28].fuseikai, 2);
    EXPECT_EQ(f.days[20].fuseikai, 1);
    EXPECT_EQ(f.streak, 3); // today, yesterday, the day before
    // A, B, then the question without an area.
    ASSERT_EQ(f.bunya.size(), 3u);
    const KirokuBunyaFigure& a = f.bunya[0];
    EXPECT_EQ(a.name, "A");
    EXPECT_EQ(a.questions, 2);
    EXPECT_EQ(a.seen, 2);
    EXPECT_EQ(a.mastered, 1); // K1 right three times
    EXPECT_EQ(a.answers, 6);
    EXPECT_EQ(a.seikai, 3);
    EXPECT_EQ(a.recentAnswers, 4); // within 7 days: K1 twice, K2 twice
    EXPECT_EQ(a.recentSeikai, 2);
    EXPECT_EQ(f.bunya[1].name, "B");
    EXPECT_EQ(f.bunya[2].name, "");
    EXPECT_EQ(f.bunya[2].seen, 1);
    // Most misses first, ties in bank order; the text's start on one line.
    ASSERT_EQ(f.misses.size(), 3u);
    EXPECT_EQ(f.misses[0].key, "K2");
    EXPECT_EQ(f.misses[0].misses, 2);
    EXPECT_EQ(f.misses[1].key, "K1");
    EXPECT_EQ(f.misses[1].answers, 4);
    EXPECT_EQ(f.misses[2].key, "K4");
    EXPECT_EQ(f.misses[0].textStart, "text of 2");
}

TEST(KirokuFigures, AStreakWaitsForTodayAndEndsAtAGap)
{
    EXPECT_EQ(ComputeKirokuFigures(Bank(), {At(1, "K1", true), At(2, "K1", true), At(4, "K1", true)}, kToday).streak, 2);
    EXPECT_EQ(ComputeKirokuFigures(Bank(), {At(2, "K1", true)}, kToday).streak, 0);
    // A clock set back leaves later days out of the streak.
    EXPECT_EQ(ComputeKirokuFigures(Bank(), {At(-3, "K1", true), At(0, "K1", true)}, kToday).streak, 1);
}

TEST(KirokuFigures, AtMostTwentyMisses)
{
    TextTable bank;
    bank[0] = {"key"};
    std::vector<KirokuEntry> journal;
    for (std::int32_t i = 1; i <= 30; ++i) {
        bank[i] = {"K" + IntToText(i), "t"};
        for (std::int32_t k = 0; k < i % 7; ++k)
            journal.push_back(At(0, "K" + IntToText(i), false));
    }
    const KirokuFigures f = ComputeKirokuFigures(bank, journal, kToday);
    ASSERT_EQ(f.misses.size(), kKirokuMisses);
    for (std::size_t i = 1; i < f.misses.size(); ++i)
        EXPECT_GE(f.misses[i - 1].misses, f.misses[i].misses);
    EXPECT_EQ(f.misses.front().key, "K6");
}

} // namespace

namespace {

// Found by fuzzing: many short area names (kept inside their strings) while
// the figures' list of areas grows.
TEST(KirokuFigures, EveryAreaOfABankWithManyAreasIsCounted)
{
    TextTable bank;
    bank[0] = {"key"};
    for (std::int32_t i = 1; i <= 40; ++i)
        bank[i] = {"K" + IntToText(i), "t", "", "", "", "", "", "", "a" + IntToText(i % 20)};
    const KirokuFigures f = ComputeKirokuFigures(bank, {}, 20000);
    ASSERT_EQ(f.bunya.size(), 20u);
    for (const KirokuBunyaFigure& area : f.bunya)
        EXPECT_EQ(area.questions, 2) << area.name;
}

} // namespace

namespace {

// Questions of the exam's format (four choices, labels ア–エ), K1..K6 of
// データベース, K7 and K8 of セキュリティ, and K9 typed.
TextTable ExamBank()
{
    TextTable bank;
    bank[0] = {"key", "text", "k", "s", "n", "l", "p", "k", "area", "kubun"};
    for (std::int32_t i = 1; i <= 9; ++i)
        bank[i] = {"K" + IntToText(i), "text", "", i == 9 ? "SELECT" : "2", i == 9 ? "0" : "4", i == 9 ? "0" : "3",
                   "0", "0", "A", std::string(kMogiKubunNames[i <= 6 ? kKubunDatabase : kKubunSecurity])};
    return bank;
}

TEST(KirokuFigures, TheReviewsDueAndThePredictionComeFromTheSamePass)
{
    const TextTable bank = ExamBank();
    std::vector<KirokuEntry> journal;
    for (int i = 0; i < 60; ++i)
        journal.push_back(At(40 - i % 40, "K" + IntToText(1 + i % 9), i % 3 != 0));
    journal.push_back(At(0, "K99", false)); // no longer in the bank
    const MogiHaibun mix {{3, 2, 0, 0}};
    const KirokuFigures figures = ComputeKirokuFigures(bank, journal, kToday, mix);
    const FukushuMemory memory = ComputeFukushuMemory(bank, journal);
    EXPECT_EQ(figures.due, FukushuDueCounts(memory, kToday));
    std::int32_t due = 0;
    for (std::int32_t n : figures.due)
        due += n;
    EXPECT_GT(due, 0);
    ASSERT_TRUE(figures.yosoku.has_value());
    const YosokuFigure alone = PredictMogiScore(MogiPoolOf(bank), memory, mix, kToday);
    EXPECT_DOUBLE_EQ(figures.yosoku->score, alone.score);
    EXPECT_DOUBLE_EQ(figures.yosoku->low, alone.low);
    EXPECT_DOUBLE_EQ(figures.yosoku->high, alone.high);
    EXPECT_EQ(figures.yosoku->questions, 8); // the typed one is no paper's
    // A bank with no question of the exam's format predicts nothing.
    EXPECT_FALSE(ComputeKirokuFigures(Bank(), journal, kToday).yosoku.has_value());
}

} // namespace
