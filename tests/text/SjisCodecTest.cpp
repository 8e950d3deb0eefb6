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

TEST(SjisBytes, BlanksAreTrimmedAsWholeCharacters)
{
    const std::string ideographic = "\x81\x40";
    const std::string zenbunya = "\x91\x53\x95\xAA\x96\xEC"; // 全分野
    EXPECT_EQ(TrimSjisBlanks(" \t" + ideographic + "SQL " + ideographic + "\t"), "SQL");
    EXPECT_EQ(TrimSjisBlanks(zenbunya + " "), zenbunya);
    EXPECT_EQ(TrimSjisBlanks("A B" + ideographic + "C"), "A B" + ideographic + "C");
    EXPECT_EQ(TrimSjisBlanks(" " + ideographic + " "), "");
    EXPECT_EQ(TrimSjisBlanks(""), "");
    // 0x88 0x81 is a kanji and the 0x40 after it an "@", though the last
    // two bytes look like an ideographic blank.
    EXPECT_EQ(TrimSjisBlanks("\x88\x81\x40"), "\x88\x81\x40");
    // A lone lead byte at the end stays as it is.
    EXPECT_EQ(TrimSjisBlanks("A \x81"), "A \x81");
}

} // namespace
