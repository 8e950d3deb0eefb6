// The size a picture is shown at in the question and explanation boxes.
#include "data/ToiBoxes.h"

#include <gtest/gtest.h>

#include <optional>

using ToiBoxes::PictureShownSize;
using ToiBoxes::ShownSize;

namespace {
// As the bank tool checks a question picture (tools/bank/BankCheck.cpp): at
// its shown size it is no taller than the box.
bool PictureFitsBox(long long width, long long height)
{
    const std::optional<ShownSize> shown = PictureShownSize(width, height);
    return shown && shown->height <= ToiBoxes::kHeight;
}
} // namespace

TEST(ToiBoxes, PictureFillsTheBoxWidthAndKeepsItsProportions)
{
    const struct {
        long long width, height;
        int box, scrollBar;
        std::optional<ShownSize> shown;
    } cases[] = {
        {800, 600, 600, 17, ShownSize {578, 433}},   // 433.5 truncated
        {578, 433, 600, 17, ShownSize {578, 433}},   // already the box's width
        {100, 1000, 600, 17, ShownSize {578, 5780}}, // tall: scrolls
        {800, 600, 809, 14, ShownSize {790, 592}},   // the window's own box
        {800, 600, 23, 17, std::nullopt},            // one pixel wide, height truncated to 0
        {800, 600, 22, 17, std::nullopt},            // no room at all
        {800, 600, 0, 17, std::nullopt},
        {0, 0, 600, 17, std::nullopt},               // empty picture: no division by zero
        {0, 600, 600, 17, std::nullopt},
        {800, 0, 600, 17, std::nullopt},
        {1, 16384, 2000000000, 0, std::nullopt},     // no overflow, and far past the bounds
        {1, 1LL << 40, 600, 17, std::nullopt},       // no overflow from a huge height either
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.width << "x" << c.height << " in " << c.box);
        EXPECT_EQ(PictureShownSize(c.width, c.height, c.box, c.scrollBar), c.shown);
    }
}

// Scaled to the box's width a thin picture would need gigabytes: past the
// bounds it is not shown at all.
TEST(ToiBoxes, ThinOrHugePicturesAreNotShown)
{
    const struct {
        long long width, height;
        int box;
        std::optional<ShownSize> shown;
    } cases[] = {
        {2, 8000, 600, std::nullopt}, // would be 578 x 2 312 000
        {1, 16384, 600, std::nullopt},
        {578, ToiBoxes::kMaxShownPictureHeight, 600, ShownSize {578, ToiBoxes::kMaxShownPictureHeight}},
        {578, ToiBoxes::kMaxShownPictureHeight + 1, 600, std::nullopt},
        {1000, 1000, 2900, ShownSize {2878, 2878}}, // 8 282 884 pixels: within
        {1000, 1000, 2920, std::nullopt},           // 2898 x 2898 passes the pixel bound
        {16384, 2, 600, std::nullopt},              // a line with no height left
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.width << "x" << c.height << " in " << c.box);
        EXPECT_EQ(PictureShownSize(c.width, c.height, c.box, 17), c.shown);
    }
}

// The bank tool's rule for question pictures: shown at the box's width, the
// picture is no taller than the box.
TEST(ToiBoxes, QuestionPictureFitsTheBoxAtItsShownWidth)
{
    EXPECT_EQ(ToiBoxes::kPictureShownWidth, 790);
    EXPECT_TRUE(PictureFitsBox(760, 270));  // shown 790 x 280
    EXPECT_TRUE(PictureFitsBox(760, 271));  // shown 790 x 281: just fits
    EXPECT_FALSE(PictureFitsBox(760, 272)); // shown 790 x 282
    EXPECT_TRUE(PictureFitsBox(1580, 562)); // shown 790 x 281
    EXPECT_FALSE(PictureFitsBox(0, 10));
}
