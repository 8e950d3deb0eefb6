// Counting the journal's answers at start-up counts each right answer as
// judging it did, and the row of a judged answer says what was judged.
#include "data/DataTexts.h"
#include "drill/KirokuCount.h"

#include <gtest/gtest.h>

namespace {

KirokuEntry Row(std::string key, bool seikai)
{
    KirokuEntry e;
    e.key = std::move(key);
    e.seikai = seikai;
    return e;
}

TEST(KirokuCount, RightAnswersFromTheFirstUncountedRowOnAreCountedOnce)
{
    TextTable counts {{0, {DataTexts::kToiKey, DataTexts::kToiSeikaiCount}},
                      {1, {"K1", "2"}},
                      {2, {"K2", "0"}},
                      {3, {"K2", "5"}}};
    const std::vector<KirokuEntry> rows {Row("K1", true), Row("K2", true), Row("K1", false),
                                         Row("K9", true), Row("K2", true), Row("K1", true)};
    // Rows 0 and 1 are already in the counts; K9 is not in the bank; a
    // duplicate key counts into its first row, as judging does.
    EXPECT_EQ(CountKirokuAnswers(counts, rows, 2), 2u);
    EXPECT_EQ(counts.at(1)[1], "3");
    EXPECT_EQ(counts.at(2)[1], "1");
    EXPECT_EQ(counts.at(3)[1], "5");
    EXPECT_EQ(CountKirokuAnswers(counts, rows, rows.size()), 0u);
}

TEST(KirokuCount, TheRowOfAJudgementHoldsWhatWasJudged)
{
    DrillState state;
    state.ToiTable = {{0, {"h"}}, {1, {"K1", "Q", "E", "A1", "0", "0", "0", "0"}}};
    state.ToiList = {1};
    state.PlayMode = kModeHRand;
    state.Nanwido = kNanwidoB;
    state.TimeCount = 7;
    Judgement judged;
    judged.seikai = true;
    judged.answer = std::string(300, '\x82'); // lead bytes: cut between characters
    const KirokuEntry e = KirokuOfJudgement(state, judged, 0);
    EXPECT_EQ(e.key, "K1");
    EXPECT_TRUE(e.seikai);
    EXPECT_EQ(e.mode, kModeHRand);
    EXPECT_EQ(e.nanwido, kNanwidoB);
    EXPECT_EQ(e.seconds, 7);
    EXPECT_EQ(e.answer.size(), kKirokuAnswerBytes);
    // Time past the limit (a countdown judged at zero) is the limit.
    state.TimeCount = 99;
    EXPECT_EQ(KirokuOfJudgement(state, judged, 0).seconds, state.TimeLimit());
}

} // namespace
