#pragma once
// What a refused restore must leave alone: every field of the drill.
#include "drill/DrillState.h"

#include <gtest/gtest.h>

inline void ExpectSameDrill(const DrillState& a, const DrillState& b)
{
    EXPECT_EQ(a.PlayMode, b.PlayMode);
    EXPECT_EQ(a.ToiList, b.ToiList);
    EXPECT_EQ(a.ToiIndex, b.ToiIndex);
    EXPECT_EQ(a.StageNo, b.StageNo);
    EXPECT_EQ(a.StageToiCount, b.StageToiCount);
    EXPECT_EQ(a.StageSeikaiCount, b.StageSeikaiCount);
    EXPECT_EQ(a.StageTable, b.StageTable);
    EXPECT_EQ(a.Nanwido, b.Nanwido);
    EXPECT_EQ(a.Nokori, b.Nokori);
    EXPECT_EQ(a.SaveLoadTable, b.SaveLoadTable);
    EXPECT_EQ(a.ToiSeikaiTable, b.ToiSeikaiTable);
}
