// A slot written by hand (or damaged) whose stage cell holds rows of other
// than two numbers: restoring it, storing it and restoring it again gives
// the same run, and the stage rows settle after that one store. Found by
// fuzzing the start-up load and the slots.
#include "saveload/SaveSlots.h"

#include <gtest/gtest.h>

namespace {

DrillState DrillWithSlot(const std::string& stageCell)
{
    DrillState state;
    state.ToiTable[0] = {"key"};
    for (std::int32_t i = 1; i <= 45; ++i)
        state.ToiTable[i] = {"Q" + IntToText(i)};
    state.StageTable[0] = {"correct", "answered"};
    state.SaveLoadTable[0] = {"header"};
    // All 45 questions, three stages: room for every stage row below.
    std::string list = "3<%>1<%>2";
    for (std::int32_t i = 4; i <= 45; ++i)
        list += "<%>" + IntToText(i);
    state.SaveLoadTable[1] = {"NORMAL", list, "1", stageCell, "1", "x", "9", "2"};
    return state;
}

std::vector<std::int32_t> StoredList()
{
    std::vector<std::int32_t> list {3, 1, 2};
    for (std::int32_t i = 4; i <= 45; ++i)
        list.push_back(i);
    return list;
}

TEST(SlotRoundTrip, OddStageRowsSettleAfterOneStore)
{
    for (const std::string cell : {"3", "1<%>2<%>3", "<%>", "7<%>20<$><$>5", ""}) {
        SCOPED_TRACE(cell);
        DrillState restored = DrillWithSlot(cell);
        ASSERT_EQ(RestoreSessionFromSlot(restored, 0), RestoreProblem::None);
        EXPECT_EQ(restored.ToiList, StoredList());
        EXPECT_EQ(restored.Nanwido, 5); // outside 0..5

        DrillState once = restored;
        StoreSessionInSlot(once, 0);
        ASSERT_EQ(RestoreSessionFromSlot(once, 0), RestoreProblem::None);
        EXPECT_EQ(once.ToiList, restored.ToiList);
        EXPECT_EQ(once.ToiIndex, restored.ToiIndex);
        EXPECT_EQ(once.StageNo, restored.StageNo);
        EXPECT_EQ(once.Nanwido, restored.Nanwido);
        EXPECT_EQ(once.Nokori, restored.Nokori);
        for (const auto& [row, cells] : once.StageTable) {
            if (row > 0) {
                EXPECT_EQ(cells.size(), 2u) << row;
            }
        }

        DrillState twice = once;
        StoreSessionInSlot(twice, 0);
        ASSERT_EQ(RestoreSessionFromSlot(twice, 0), RestoreProblem::None);
        EXPECT_EQ(twice.StageTable, once.StageTable);
        EXPECT_EQ(twice.SaveLoadTable.at(1)[3], once.SaveLoadTable.at(1)[3]);
    }
}

} // namespace
