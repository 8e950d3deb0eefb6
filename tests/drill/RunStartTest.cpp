#include "drill/RunStart.h"

#include <gtest/gtest.h>

// Every start button begins at stage 1 with fresh counters; the chances start
// again except in weak-point mode, which does not count them.
TEST(StartRun, EveryModeStartsAtTheFirstQuestionOfStageOne)
{
    for (PlayModeValue mode : {kModeNormal, kModeRand, kModeJakuten, kModeHNormal, kModeHRand}) {
        SCOPED_TRACE(mode);
        DrillState state;
        state.ToiTable[0] = {"key"};
        state.ToiSeikaiTable[0] = {"key", "count"};
        for (std::int32_t i = 1; i <= 30; ++i) {
            state.ToiTable[i] = {"Q" + IntToText(i)};
            state.ToiSeikaiTable[i] = {"Q" + IntToText(i), "0"};
        }
        state.ToiIndex = 25;
        state.StageNo = 2;
        state.StageToiCount = 5;
        state.StageSeikaiCount = 4;
        state.Nokori = 1;
        ASSERT_TRUE(StartRun(state, mode));
        EXPECT_EQ(state.PlayMode, mode);
        EXPECT_EQ(state.ToiIndex, 0u);
        EXPECT_EQ(state.StageNo, 1);
        EXPECT_EQ(state.StageToiCount, 0u);
        EXPECT_EQ(state.StageSeikaiCount, 0u);
        EXPECT_EQ(state.Nokori, mode == kModeJakuten ? 1 : kRunChances);
        EXPECT_EQ(state.ToiList.size(), 30u);
    }
}

TEST(StartRun, BankWithoutQuestionsHasNothingToDrill)
{
    DrillState state;
    state.ToiTable[0] = {"key"};
    state.ToiSeikaiTable[0] = {"key", "count"};
    EXPECT_FALSE(StartRun(state, kModeNormal));
    EXPECT_TRUE(state.ToiList.empty());
}
