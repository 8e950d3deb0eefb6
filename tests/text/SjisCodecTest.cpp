#include "text/SjisCodec.h"

#include <gtest/gtest.h>

namespace {

TEST(SjisBytes, LeadAndTrailRanges)
{
    struct Case { unsigned char b; bool lead, trail; };
    const Case cases[] = {
        {0x3F, false, false}, {0x40, false, true}, {0x41, false, true}, {0x7E, false, true},
        {0x7F, false, false}, {0x80, false, true}, {0x81, true, true},  {0x9F, true, true},
        {0xA0, false, true},  {0xA1, false, true}, {0xDF, false, true}, // half-width katakana stand alone
        {0xE0, true, true},   {0xFC, true, true},  {0xFD, false, false}, {0xFF, false, false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(IsSjisLead(c.b), c.lead) << int(c.b);
        EXPECT_EQ(IsSjisTrail(c.b), c.trail) << int(c.b);
    }
}

TEST(SjisToUtf8Exactly, OnlyTextsThatComeBackTheSame)
{
    struct Case { std::string sjis; bool exact; std::string utf8; };
    const Case cases[] = {
        {"", true, ""},
        {"abc", true, "abc"},
        {"\x90\xB3\x89\xF0", true, "正解"},
        {"\x82\x50", true, "１"},
        {"\x82", false, ""},          // a lead byte without its trail
        {"\x81\x7F", false, ""},      // a trail byte that is none
        {"\x85\x40", false, ""},      // a code no character has
        {"\x81\x40" "A\xFF", false, ""},
    };
    for (const Case& c : cases) {
        std::string utf8;
        EXPECT_EQ(SjisToUtf8Exactly(c.sjis, utf8), c.exact) << ::testing::PrintToString(c.sjis);
        if (c.exact) {
            EXPECT_EQ(utf8, c.utf8);
        }
    }
}

} // namespace
