#include "data/Nanwido.h"

#include <gtest/gtest.h>

namespace {

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
