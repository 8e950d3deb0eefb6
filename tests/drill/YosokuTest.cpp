// The predicted score: the stated prior without a journal, forgetting over
// the days, the journal's own record of right answers at a given recall,
// the areas' rates for questions never answered, and the groups' shares.
#include "drill/Yosoku.h"

#include <gtest/gtest.h>

namespace {

constexpr std::int32_t kDay = 20000;

// Exam-format questions keyed <area><n>: `db` of データベース in area "d",
// `sec` of セキュリティ in area "s".
TextTable Bank(int db, int sec)
{
    TextTable bank;
    bank[0] = {"key", "text", "k", "s", "n", "l", "p", "k", "area", "kubun"};
    std::int32_t row = 0;
    for (int i = 1; i <= db; ++i)
        bank[++row] = {"d" + IntToText(i), "t", "k", "1", "4", "3", "0", "0", "d", ""};
    for (int i = 1; i <= sec; ++i)
        bank[++row] = {"s" + IntToText(i), "t", "k", "1", "4", "3", "0", "0", "s",
                       std::string(kMogiKubunNames[kKubunSecurity])};
    return bank;
}

KirokuEntry Answer(const std::string& key, std::int32_t day, bool seikai)
{
    KirokuEntry e;
    e.key = key;
    e.day = day;
    e.seikai = seikai;
    return e;
}

YosokuFigure Predict(const TextTable& bank, const std::vector<KirokuEntry>& journal, std::int32_t today)
{
    return PredictMogiScore(MogiPoolOf(bank), ComputeFukushuMemory(bank, journal), MogiHaibun {}, today);
}

void ExpectRangeHolds(const YosokuFigure& f, double most = 100)
{
    EXPECT_LE(0, f.low);
    EXPECT_LE(f.low, f.score);
    EXPECT_LE(f.score, f.high);
    EXPECT_LE(f.high, most);
}

TEST(Yosoku, WithoutAJournalThePriorAndAWideRange)
{
    const YosokuFigure f = Predict(Bank(40, 10), {}, kDay);
    EXPECT_DOUBLE_EQ(f.score, 100 * kYosokuPrior);
    EXPECT_EQ(f.questions, 50);
    EXPECT_EQ(f.answered, 0);
    ExpectRangeHolds(f);
    EXPECT_GT(f.high - f.low, 30);
    // A bank of 10 questions fills 10 of the 25: at most 40 points.
    const YosokuFigure small = Predict(Bank(10, 0), {}, kDay);
    EXPECT_DOUBLE_EQ(small.score, 40 * kYosokuPrior);
    ExpectRangeHolds(small, 40);
}

TEST(Yosoku, ForgettingOverTheDaysAndTheJournalsOwnRecord)
{
    const TextTable bank = Bank(30, 0);
    // Every question right on day 0 and again on day 2.
    std::vector<KirokuEntry> studied;
    for (int day : {0, 2})
        for (int i = 1; i <= 30; ++i)
            studied.push_back(Answer("d" + IntToText(i), kDay + day, true));
    double before = 101;
    for (int after : {2, 3, 10, 60, 365}) {
        const YosokuFigure f = Predict(bank, studied, kDay + after);
        EXPECT_LT(f.score, before) << after << " days on";
        EXPECT_GT(f.score, 25) << "a guess is right one time in four";
        EXPECT_EQ(f.answered, 30);
        ExpectRangeHolds(f);
        before = f.score;
    }
    // The same memory, but the journal shows a learner whose answers at that
    // recall were mostly wrong: 30 more questions answered on day 0 and
    // then, wrong, on day 2.
    TextTable wider = Bank(60, 0);
    std::vector<KirokuEntry> forgetful = studied;
    for (int i = 31; i <= 60; ++i)
        forgetful.insert(forgetful.begin(), Answer("d" + IntToText(i), kDay, true));
    std::vector<KirokuEntry> steady = forgetful;
    for (int i = 31; i <= 60; ++i) {
        forgetful.push_back(Answer("d" + IntToText(i), kDay + 2, false));
        steady.push_back(Answer("d" + IntToText(i), kDay + 2, true));
    }
    EXPECT_LT(Predict(wider, forgetful, kDay + 2).score, Predict(wider, steady, kDay + 2).score);
}

TEST(Yosoku, QuestionsNeverAnsweredTakeTheirAreasRate)
{
    // Half of each area answered once: database wrong, security right.
    const TextTable bank = Bank(40, 20);
    std::vector<KirokuEntry> journal;
    for (int i = 1; i <= 20; ++i)
        journal.push_back(Answer("d" + IntToText(i), kDay, false));
    for (int i = 1; i <= 10; ++i)
        journal.push_back(Answer("s" + IntToText(i), kDay, true));
    const YosokuFigure f = Predict(bank, journal, kDay + 30);
    EXPECT_EQ(f.answered, 30);
    EXPECT_LT(f.kubunRate[kKubunDatabase], 0.4);
    EXPECT_GT(f.kubunRate[kKubunSecurity], 0.6);
    // 19 of the paper from データベース, 3 from セキュリティ; what the
    // other two groups lack from データベース too.
    EXPECT_NEAR(f.score, 4 * (22 * f.kubunRate[kKubunDatabase] + 3 * f.kubunRate[kKubunSecurity]), 1e-9);
    ExpectRangeHolds(f);
}

} // namespace
