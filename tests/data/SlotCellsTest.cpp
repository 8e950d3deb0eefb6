#include "data/SlotCells.h"
#include "data/ToiBank.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

TEST(SlotRowCells, EachCellInItsPlace)
{
    const TextTable noStages {{0, {"h", "h"}}};
    const TextTable twoStages {{0, {"h", "h"}}, {1, {"18", "20"}}, {2, {"20", "20"}}};
    // A missing stage keeps its place; a short row gives empty cells.
    const TextTable gaps {{0, {"h", "h"}}, {1, {"5", "20"}}, {3, {"7"}}};
    const std::vector<std::int32_t> none, one {4}, three {7, 2, 9};
    struct Case {
        const char* name;
        SlotContent slot;
        TextRow cells;
    } const cases[] = {
        {"stored drill",
         {true, three, 2, twoStages, true, "Sun Dec 06 19:42:55 2026", kNanwidoC, 1, ""},
         {"NORMAL", "7<%>2<%>9", "2", "18<%>20<$>20<%>20", "1", "Sun Dec 06 19:42:55 2026", "2", "1"}},
        {"random, one question, no stage rows",
         {false, one, 0, noStages, true, "", kNanwidoA, 3, ""},
         {"RAND", "4", "0", "", "1", "", "0", "3"}},
        {"empty slot", {true, none, 0, noStages, false, "new", kNanwidoF, 3, ""},
         {"NORMAL", "", "0", "", "0", "new", "5", "3"}},
        {"stages with a gap", {false, three, 4294967295u, gaps, true, "d", kNanwidoE, 2, ""},
         {"RAND", "7<%>2<%>9", "4294967295", "5<%>20<$><%><$>7<%>", "1", "d", "4", "2"}},
        {"an area run gets a ninth cell", {true, one, 0, twoStages, true, "d", kNanwidoB, 2, "\x95\xAA\x96\xEC"},
         {"NORMAL", "4", "0", "18<%>20<$>20<%>20", "1", "d", "1", "2", "\x95\xAA\x96\xEC"}},
        {"chances written as held", {true, one, 0, noStages, true, "d", kNanwidoB, -1, ""},
         {"NORMAL", "4", "0", "", "1", "d", "1", "-1"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const TextRow cells = SlotRowCells(c.slot);
        EXPECT_EQ(cells, c.cells);
        // What the restore reads back from the same cells.
        EXPECT_EQ(ToiListFromCell(cells[SlotCell::ToiList]), c.slot.toiList);
        TextTable stages;
        StageRowsFromCell(cells[SlotCell::StageTable], stages);
        for (const auto& [j, row] : c.slot.stageTable) {
            for (int cell : {0, 1})
                EXPECT_EQ(TableCell(stages, j, cell), j > 0 ? TableCell(c.slot.stageTable, j, cell) : "") << j;
        }
    }
}

} // namespace
