#include "data/Nanwido.h"
#include "data/SlotCells.h"

#include <gtest/gtest.h>

namespace {

TEST(SlotCells, QuestionListsJoinAndSplitAtTheListMarker)
{
    struct Case { std::vector<std::int32_t> list; std::string cell; };
    const Case cases[] = {
        {{}, ""}, {{7}, "7"}, {{7, 2, 9}, "7<%>2<%>9"}, {{-1, 0, 100000}, "-1<%>0<%>100000"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ToiListCell(c.list), c.cell);
        EXPECT_EQ(ToiListFromCell(c.cell), c.list) << c.cell;
    }
    // Pieces are read as numbers: an empty or a word piece reads as 0.
    EXPECT_EQ(ToiListFromCell("3<%><%>x<%>4"), (std::vector<std::int32_t> {3, 0, 0, 4}));
    EXPECT_EQ(BankOrderListCell(3), "1<%>2<%>3");
    EXPECT_EQ(BankOrderListCell(0), "");
    EXPECT_EQ(BankOrderListCell(-2), "");
    EXPECT_EQ(JoinListCell({"a", "", "b"}), "a<%><%>b");
}

TEST(SlotCells, StageRowsKeepTheirStageNumbers)
{
    TextTable stages {{0, {"correct", "answered"}}, {1, {"18", "20"}}, {3, {"5"}}};
    const std::string cell = StageRowsCell(stages);
    EXPECT_EQ(cell, "18<%>20<$><%><$>5<%>");
    TextTable back {{0, {"correct", "answered"}}};
    StageRowsFromCell(cell, back);
    EXPECT_EQ(back, (TextTable {{0, {"correct", "answered"}}, {1, {"18", "20"}}, {2, {"", ""}}, {3, {"5", ""}}}));

    EXPECT_EQ(StageRowsCell(TextTable {{0, {"correct", "answered"}}}), "");
    EXPECT_EQ(StageRowsCell(TextTable {}), "");
    StageRowsFromCell("", back);
    EXPECT_EQ(back.size(), 4u) << "an empty cell adds no row";
}

TEST(Nanwido, NumbersFromFilesAndTheTableIndex)
{
    struct Case { std::int32_t number; bool valid; NanwidoValue fromFile, clamped; };
    const Case cases[] = {
        {0, true, kNanwidoA, kNanwidoA}, {3, true, kNanwidoD, kNanwidoD}, {5, true, kNanwidoF, kNanwidoF},
        {6, false, kNanwidoF, kNanwidoF}, {-1, false, kNanwidoF, kNanwidoA},
        {INT32_MAX, false, kNanwidoF, kNanwidoF}, {INT32_MIN, false, kNanwidoF, kNanwidoA},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(IsNanwido(c.number), c.valid) << c.number;
        EXPECT_EQ(ToNanwido(c.number), c.fromFile) << c.number;
        EXPECT_EQ(ClampNanwido(c.number), c.clamped) << c.number;
    }
}

} // namespace
