#include "data/DataTexts.h"
#include "drill/Judge.h"

#include <gtest/gtest.h>

#include <limits>

namespace {

TEST(AnswerTextFromBoxes, TickedBoxNumbersAscendingJoinedByUnderscore)
{
    struct Case { std::vector<int> ticked; std::string expected; };
    const Case cases[] = {
        {{}, ""}, {{3, 1}, "1_3"}, {{2}, "2"}, {{5, 1, 3}, "1_3_5"}, {{8}, "8"},
        {{8, 7, 6, 5, 4, 3, 2, 1}, "1_2_3_4_5_6_7_8"},
    };
    for (const Case& c : cases) {
        std::array<bool, 8> boxes {};
        for (int box : c.ticked)
            boxes[static_cast<std::size_t>(box - 1)] = true;
        EXPECT_EQ(AnswerTextFromBoxes(boxes), c.expected);
    }
}

TEST(IsSeikai, OnlyTheSameBytesAreRight)
{
    struct Case { std::string answer, seikai; bool right; };
    const Case cases[] = {
        {"1_3", "1_3", true},
        {"", "", true},
        {"3_1", "1_3", false},
        {"1_3_5", "1_3", false},          // no partial credit
        {"", "2", false},                 // no box ticked
        {"abc", "ABC", false},
        {" ABC", "ABC", false},
        {"ABC ", "ABC", false},
        {"\x82\x50", "1", false},         // full-width one (Shift_JIS) against half-width
        {"\x82\xB1\x82\xB1\x82\xC9\x93\xFC\x97\xCD\x81\x42\x81\x42\x81\x42", "1", false}, // the untouched prompt
    };
    for (const Case& c : cases)
        EXPECT_EQ(IsSeikai(c.answer, c.seikai), c.right) << '"' << c.answer << "\" vs \"" << c.seikai << '"';
}

TEST(CountSeikai, RaisesOnlyTheFirstMatchingRowByOne)
{
    TextTable counts;
    counts[0] = {DataTexts::kToiKey, DataTexts::kToiSeikaiCount};
    counts[1] = {"A1", "4"};
    counts[2] = {"B2", "0"};
    counts[3] = {"A1", "7"};
    counts[4] = {"C3", "x"};
    counts[5] = {"D4"};
    counts[6] = {"E5", IntToText(std::numeric_limits<std::int32_t>::max())};

    TextTable expected = counts;
    EXPECT_TRUE(CountSeikai(counts, "A1"));
    expected[1][1] = "5";
    EXPECT_EQ(counts, expected);

    EXPECT_TRUE(CountSeikai(counts, "C3")); // a count that is no number starts from 0
    expected[4][1] = "1";
    EXPECT_TRUE(CountSeikai(counts, "D4")); // a row without its count cell gets one
    expected[5] = {"D4", "1"};
    EXPECT_TRUE(CountSeikai(counts, "E5")); // the largest count stays
    EXPECT_EQ(counts, expected);

    for (const std::string& key : {std::string("Z9"), std::string("a1"), std::string(DataTexts::kToiKey)}) {
        EXPECT_FALSE(CountSeikai(counts, key)) << key;
        EXPECT_EQ(counts, expected) << "unknown key " << key << " changes nothing";
    }
}

TEST(IsChoiceToi, MoreThanOneChoiceInColumnFour)
{
    struct Case { TextRow row; bool choice; };
    const Case cases[] = {
        {{"k", "t", "e", "1_3", "4"}, true},
        {{"k", "t", "e", "1", "2"}, true},
        {{"k", "t", "e", "abc", "1"}, false},
        {{"k", "t", "e", "abc", "0"}, false},
        {{"k", "t", "e", "abc", "NONE"}, false},
        {{"k", "t", "e", "abc"}, false},
        {{}, false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(IsChoiceToi(c.row), c.choice) << ::testing::PrintToString(c.row);
}

} // namespace
