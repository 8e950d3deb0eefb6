#include "data/ToiTextLines.h"

#include "text/SjisCodec.h"

#include <gtest/gtest.h>

namespace {

TEST(ToiTextLines, LinesAreCountedByCharacterWidths)
{
    // The box wraps at 787 px: 49 two-byte characters (16 px) or 87 ASCII ones (9 px) a line.
    ASSERT_EQ(ToiTextLines::kTextWidth, 787);
    std::string wide49, wide50;
    for (int i = 0; i < 49; ++i)
        wide49 += "\x82\xA0"; // あ
    wide50 = wide49 + "\x82\xA0";
    struct Case {
        std::string text;
        int lines;
    };
    const Case cases[] = {
        {"", 1},
        {"<$>", 2},
        {"a<$><$>b", 3},
        {wide49, 1},
        {wide50, 2},
        {std::string(87, 'x'), 1},
        {std::string(88, 'x'), 2},
        {std::string(87 * 3, 'x'), 3},          // a word wider than the box is cut
        {std::string(80, 'a') + " bbbbbbbbbb", 2}, // the word after the blank goes down whole
        {wide49 + "<$>" + std::string(88, 'x'), 3},
        {"\x82", 1},                            // a lone lead byte at the end (once a hang)
        {wide49 + "\x82", 2},
        {"ab\x82<$>c", 2},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ToiTextLines::LineCount(c.text), c.lines) << c.text;
}

} // namespace
