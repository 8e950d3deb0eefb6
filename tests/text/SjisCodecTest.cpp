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

} // namespace
