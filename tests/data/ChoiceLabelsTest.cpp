#include "data/ChoiceLabels.h"

#include "text/SjisCodec.h"

#include <gtest/gtest.h>

namespace {

TEST(ChoiceLabels, EachSetCaptionsItsFourteenBoxes)
{
    struct Case {
        int set;
        const char* first;  // UTF-8
        const char* sixth;
        const char* eighth;
        const char* last;
    };
    const Case cases[] = {
        {0, "&1", "&6", "&8", "&14"},
        {1, "A(&1)", "F(&6)", "H(&8)", "N(&14)"},
        {2, "イ(&1)", "へ(&6)", "チ(&8)", "カ(&14)"}, // へ is the hiragana the program has always shown
        {3, "ア(&1)", "カ(&6)", "ク(&8)", "セ(&14)"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(SjisToUtf8(ChoiceLabels::Caption(c.set, 0)), c.first) << c.set;
        EXPECT_EQ(SjisToUtf8(ChoiceLabels::Caption(c.set, 5)), c.sixth) << c.set;
        EXPECT_EQ(SjisToUtf8(ChoiceLabels::Caption(c.set, 7)), c.eighth) << c.set;
        EXPECT_EQ(SjisToUtf8(ChoiceLabels::Caption(c.set, 13)), c.last) << c.set;
    }
    std::string exam;
    for (int box = 0; box < ChoiceLabels::kBoxCount; ++box)
        exam += ChoiceLabels::Letter(3, box);
    EXPECT_EQ(SjisToUtf8(exam), "アイウエオカキクケコサシスセ");
    EXPECT_EQ(ChoiceLabels::Letter(0, 0), "");
}

TEST(ChoiceLabels, OnlyTheFourSetsAndFourteenBoxesExist)
{
    for (long long set : {0LL, 1LL, 2LL, 3LL})
        EXPECT_TRUE(ChoiceLabels::IsLabelSet(set)) << set;
    for (long long set : {-1LL, 4LL, 99LL, 1LL << 40})
        EXPECT_FALSE(ChoiceLabels::IsLabelSet(set)) << set;
    EXPECT_EQ(ChoiceLabels::Caption(4, 0), "");
    EXPECT_EQ(ChoiceLabels::Caption(-1, 0), "");
    EXPECT_EQ(ChoiceLabels::Caption(3, 14), "");
    EXPECT_EQ(ChoiceLabels::Caption(3, -1), "");
}

} // namespace
