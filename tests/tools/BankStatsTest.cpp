#include "BankTestRows.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

const std::string kHeader = "問キー,問題文,解説文,正解,選択肢数,ラベル種類,問題画像,解説画像\n";

// A choice question row: key, answer, number of choices, label set, pictures.
std::string Row(int key, const std::string& answer, int choices, int labels = 0, int toiPicture = 0,
                int kaisetuPicture = 0)
{
    return std::to_string(key) + ",q,k," + answer + "," + std::to_string(choices) + "," + std::to_string(labels) +
           "," + std::to_string(toiPicture) + "," + std::to_string(kaisetuPicture) + "\n";
}

const PositionSpread* Find(const BankStats& stats, bool multi, int choices)
{
    for (const PositionSpread& s : stats.spreads)
        if (s.multi == multi && s.choices == choices)
            return &s;
    return nullptr;
}

} // namespace

TEST(BankStats, ChiSquareTailMatchesTheTables)
{
    struct Case {
        double chiSquare;
        int degrees;
        double pValue;
    };
    // Critical values from the standard chi-square table.
    const Case cases[] = {
        {3.841, 1, 0.05}, {6.635, 1, 0.01}, {5.991, 2, 0.05}, {11.345, 3, 0.01},
        {7.815, 3, 0.05}, {20.278, 7, 0.005}, {0.352, 3, 0.95}, {2.167, 7, 0.95},
    };
    for (const Case& c : cases)
        EXPECT_NEAR(ChiSquareUpperTail(c.chiSquare, c.degrees), c.pValue, 0.0005)
            << c.chiSquare << " with " << c.degrees << " degrees";
    EXPECT_EQ(ChiSquareUpperTail(0, 3), 1.0);
    EXPECT_EQ(ChiSquareOfEqualShares({3, 3, 3, 3}), 0.0);
    EXPECT_DOUBLE_EQ(ChiSquareOfEqualShares({8, 0, 0, 0}), 24.0); // expected 2 each: 18/2 + 3 * 4/2
}

TEST(BankStats, CountsKindsLabelSetsChoicesAndPicturesPerFile)
{
    BankRows bank = ParseCsvSources({
        {"a.csv", kHeader + Row(1, "2", 4, 0, 1, 0) + Row(2, "1_3", 4, 1) + Row(3, "SELECT", 0, 0, 0, 1) +
                      Row(4, "3", 5, 2)},
        {"b.csv", kHeader + Row(5, "1", 2, 2, 1, 1) + Row(6, "42", 1)},
    });
    const std::vector<BankStats> stats = BankStatistics(bank);
    ASSERT_EQ(stats.size(), 3u);
    const BankStats& a = stats[0];
    EXPECT_EQ(a.name, "a.csv");
    EXPECT_EQ(a.questions, 4);
    EXPECT_EQ(a.single, 2);
    EXPECT_EQ(a.multi, 1);
    EXPECT_EQ(a.typed, 1);
    EXPECT_EQ(a.byLabelSet, (std::map<int, int> {{0, 1}, {1, 1}, {2, 1}}));
    EXPECT_EQ(a.byChoices, (std::map<int, int> {{4, 2}, {5, 1}}));
    EXPECT_EQ(a.questionPictures, 1);
    EXPECT_EQ(a.explanationPictures, 1);
    const PositionSpread* multi4 = Find(a, true, 4);
    ASSERT_NE(multi4, nullptr);
    EXPECT_EQ(multi4->correct, (std::vector<int> {1, 0, 1, 0}));
    // One choice is a typed question, as the program reads it.
    EXPECT_EQ(stats[1].typed, 1);
    EXPECT_EQ(stats[2].name, "(all)");
    EXPECT_EQ(stats[2].questions, 6);
    EXPECT_EQ(stats[2].questionPictures, 2);
    EXPECT_EQ(stats[2].explanationPictures, 2);
    // A single file gives no separate total.
    EXPECT_EQ(BankStatistics(ParseCsvSources({{"a.csv", kHeader + Row(1, "1", 2)}})).size(), 1u);
}

TEST(BankStats, WarnsOnlyWhenTheSpreadIsUnlikelyToBeChance)
{
    std::string even, first;
    for (int i = 0; i < 12; ++i) {
        even += Row(100 + i, std::string(1, "132241433142"[i]), 4); // three each, in no order
        first += Row(200 + i, i < 10 ? "1" : "2", 4); // the gamed bank: almost always the first box
    }
    const auto evenStats = BankStatistics(ParseCsvSources({{"even.csv", kHeader + even}}));
    ASSERT_NE(Find(evenStats[0], false, 4), nullptr);
    EXPECT_EQ(Find(evenStats[0], false, 4)->correct, (std::vector<int> {3, 3, 3, 3}));
    EXPECT_FALSE(AnyUnlikelySpread(evenStats));
    EXPECT_EQ(FormatBankStats(evenStats).find("warning"), std::string::npos);

    const auto firstStats = BankStatistics(ParseCsvSources({{"first.csv", kHeader + first}}));
    EXPECT_TRUE(Find(firstStats[0], false, 4)->unlikely);
    EXPECT_TRUE(AnyUnlikelySpread(firstStats));
    EXPECT_NE(FormatBankStats(firstStats).find("warning: first.csv: the correct answers of the single-answer "
                                               "questions with 4 choices cluster"),
              std::string::npos);

    // Multi-answer questions that always include the first two boxes.
    std::string multi;
    for (int i = 0; i < 12; ++i)
        multi += Row(300 + i, i % 2 ? "1_2" : "1_2_5", 6);
    EXPECT_TRUE(AnyUnlikelySpread(BankStatistics(ParseCsvSources({{"m.csv", kHeader + multi}}))));
}

TEST(BankStats, LabelSetsAreNamedByTheirFirstLetters)
{
    const auto stats = BankStatistics(ParseCsvSources(
        {{"a.csv", kHeader + Row(1, "1", 4, 3) + Row(2, "2", 4, 3) + Row(3, "1", 2, 2) + Row(4, "2", 2, 1) +
                       Row(5, "1", 2, 0) + Row(6, "1", 2, 7)}}));
    ASSERT_EQ(stats.size(), 1u);
    EXPECT_EQ(stats[0].byLabelSet, (std::map<int, int> {{0, 1}, {1, 1}, {2, 1}, {3, 2}, {7, 1}}));
    EXPECT_NE(FormatBankStats(stats).find("  label sets: 1 2 3 1; A B C 1; イ ロ ハ 1; ア イ ウ 2; ? 1;\n"),
              std::string::npos)
        << FormatBankStats(stats);
}
