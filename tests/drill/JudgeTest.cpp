#include "data/DataTexts.h"
#include "drill/Judge.h"

#include <gtest/gtest.h>

#include <limits>
#include <optional>

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

// What a learner types is compared after a narrow normalisation; anything
// beyond it (half-width katakana, other full-width characters, blanks inside)
// stays as typed.
TEST(TypedAnswerForm, FullWidthAsciiBlanksAndLetterCase)
{
    struct Case { std::string typed, form; };
    const Case cases[] = {
        {"\x82\x54", "5"},                                      // ５
        {"\x82\x4F\x82\x58", "09"},                           // ０９
        {"\x82\x60\x82\x63", "AD"},                           // ＡＤ
        {"\x82\x81\x82\x84", "AD"},                           // ａｄ
        {"view", "VIEW"},
        {"4 ", "4"},
        {"  S1S2  ", "S1S2"},
        {"\x81\x40" "AD" "\x81\x40", "AD"},                         // ideographic blanks at both ends
        {"A\x81\x40" "B", "A B"},                                  // a blank inside stays
        {"A  B", "A  B"},
        {"\x81\x69\x82\x50\x81\x7B\x82\x51\x81\x6A", "(1+2)"}, // （１＋２）
        {"\x81\x43\x81\x44\x81\x5E\x81\x46\x81\x81\x81\x48\x81\x97\x81\x51", ",./:=?@_"},
        {"\x81\x7C\x81\x60\x81\x5F\x81\x62", "-~\\|"},   // －～＼｜
        {"\xFA\x57\xEE\xFB", "\"'"},                           // ＂＇ as code page 932 holds them
        {"", ""},
        {"   ", ""},
        {"\x81\x40", ""},
        // Not ASCII forms: hiragana, a full-width yen sign, half-width katakana.
        {"\x82\xA0", "\x82\xA0"},
        {"\x81\x8F", "\x81\x8F"},
        {"\xB1" "a", "\xB1" "A"},
        // Trail bytes in the ASCII letter range are not letters: ソ (83 5C) and
        // 表 (95 5C), ア (83 41), ぁ (82 9F) stay as they are.
        {"\x83\x5C\x95\x5C\x83\x41\x82\x9F", "\x83\x5C\x95\x5C\x83\x41\x82\x9F"},
        {"\x83\x61" "b", "\x83\x61" "B"},
        {"A\x82", "A\x82"},                                     // a lone lead byte at the end
    };
    for (const Case& c : cases)
        EXPECT_EQ(TypedAnswerForm(c.typed), c.form) << '"' << c.typed << '"';
    // The stored answer is never changed, only compared in the same form.
    EXPECT_TRUE(IsTypedSeikai("ad", "AD"));
    EXPECT_TRUE(IsTypedSeikai("AD", "\x82\x60\x82\x63"));
    EXPECT_FALSE(IsTypedSeikai("A D", "AD"));
    EXPECT_FALSE(IsTypedSeikai("\x82\xB1\x82\xB1\x82\xC9\x93\xFC\x97\xCD\x81\x42\x81\x42\x81\x42", "1")); // the prompt
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

// A run over one question per row given, counts table beside it.
DrillState DrillOf(const std::vector<TextRow>& rows)
{
    DrillState state;
    state.ToiTable[0] = {"key", "text", "kaisetu", "seikai", "n", "set", "pic", "kpic"};
    state.ToiSeikaiTable[0] = {DataTexts::kToiKey, DataTexts::kToiSeikaiCount};
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const auto row = static_cast<std::int32_t>(i + 1);
        state.ToiTable[row] = rows[i];
        state.ToiSeikaiTable[row] = {rows[i].empty() ? "" : rows[i][0], "0"};
        state.ToiList.push_back(row);
    }
    return state;
}

GivenAnswer Ticked(const std::vector<int>& boxes, std::optional<std::string> typed = "\x82\xB1")
{
    GivenAnswer given;
    for (int box : boxes)
        given.ticked[static_cast<std::size_t>(box - 1)] = true;
    given.typed = std::move(typed);
    return given;
}

TEST(JudgeToi, ChoiceQuestionsAreJudgedByTheTickedBoxesOnly)
{
    struct Case { std::vector<int> ticked; std::string answer; bool right; };
    const Case cases[] = {
        {{3, 1}, "1_3", true}, {{1, 3, 5}, "1_3_5", false}, {{}, "", false},
        {{1, 3, 8}, "1_3_8", false}, // a box hidden by the choice count still counts
    };
    for (const Case& c : cases) {
        DrillState state = DrillOf({{"Q1", "t", "e", "1_3", "5", "0", "0", "0"}});
        // The edit box holds "1_3" too; a choice question never reads it.
        const Judgement judged = JudgeToi(state, Ticked(c.ticked, "1_3"));
        EXPECT_TRUE(judged.choice);
        EXPECT_EQ(judged.answer, c.answer);
        EXPECT_EQ(judged.seikai, c.right) << c.answer;
    }
}

TEST(JudgeToi, TypedQuestionsCompareTheAnswerFormOfTheEditBox)
{
    struct Case { std::string column4; std::optional<std::string> typed; std::string seikai; bool right; };
    // Column 4 at most 1, or no number: typed. The form's own cases are
    // TypedAnswerForm's.
    const Case cases[] = {
        {"0", "ABC", "ABC", true},
        {"1", "abc", "ABC", true},
        {"", "\x82\x60\x82\x61\x82\x62", "\x82\x60\x82\x61\x82\x62", true}, // ＡＢＣ
        {"", "\x82\x60\x82\x61\x82\x62", "ABC", true},                               // ＡＢＣ for ABC
        {"NONE", "ABC ", "ABC", true},
        {"0", "ABD", "ABC", false},
        {"0", std::nullopt, "", false}, // no Shift_JIS form: never right
        {"0", "", "", true},
    };
    for (const Case& c : cases) {
        DrillState state = DrillOf({{"T1", "t", "e", c.seikai, c.column4, "0", "0", "0"}});
        const Judgement judged = JudgeToi(state, Ticked({1, 2}, c.typed));
        EXPECT_FALSE(judged.choice);
        EXPECT_EQ(judged.answer, c.typed.value_or(""));
        EXPECT_EQ(judged.seikai, c.right) << c.typed.value_or("(none)") << " vs " << c.seikai;
    }
}

TEST(JudgeToi, CountsTheQuestionForTheStageAndARightAnswerForTheQuestion)
{
    DrillState state = DrillOf({{"K1", "t", "e", "A"}, {"K2", "t", "e", "B"}, {"K1", "t", "e", "C"}});
    state.ToiSeikaiTable[1][1] = "4";
    state.ToiSeikaiTable[3][1] = "7";
    state.StageToiCount = 5;
    state.StageSeikaiCount = 2;
    struct Step { std::string typed; bool right; std::uint32_t toi, seikai; std::string counts[3]; };
    const Step steps[] = {
        {"A", true, 6, 3, {"5", "0", "7"}},
        {"A", false, 7, 3, {"5", "0", "7"}},
        {"C", true, 8, 4, {"6", "0", "7"}}, // a repeated key counts on its first row
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(state.ToiIndex);
        GivenAnswer given;
        given.typed = step.typed;
        EXPECT_EQ(JudgeToi(state, given).seikai, step.right);
        EXPECT_EQ(state.StageToiCount, step.toi);
        EXPECT_EQ(state.StageSeikaiCount, step.seikai);
        for (std::int32_t row = 1; row <= 3; ++row)
            EXPECT_EQ(state.ToiSeikaiTable[row][1], step.counts[row - 1]) << "row " << row;
        ++state.ToiIndex;
    }
    EXPECT_EQ(state.ToiIndex, 3u) << "judging never moves on";
}

TEST(JudgeToi, AKeyWithoutCountRowStillCountsForTheStage)
{
    DrillState state = DrillOf({{"K1", "t", "e", "A"}});
    state.ToiSeikaiTable[1][0] = "other";
    const TextTable counts = state.ToiSeikaiTable;
    GivenAnswer given;
    given.typed = "A";
    EXPECT_TRUE(JudgeToi(state, given).seikai);
    EXPECT_EQ(state.StageSeikaiCount, 1u);
    EXPECT_EQ(state.ToiSeikaiTable, counts);
}

TEST(JudgeToi, ExplanationIsTextOrAPictureFile)
{
    struct Case { TextRow row; std::string kaisetu, picture; };
    const Case cases[] = {
        {{"12", "t", "A<$>B", "2_4", "4", "0", "0", "0"}, "A\r\nB", ""},
        {{"12", "t", "why", "x", "0", "0", "1", "0"}, "why", ""}, // the question picture is not the explanation
        {{"12", "t", "why", "x", "0", "0", "0", "1"}, "why", "NONEk12.jpg"},
        {{"12", "t", "why", "x", "0", "0", "0", "NONE"}, "why", ""},
        {{"12", "t", "why", "x"}, "why", ""},
    };
    for (const Case& c : cases) {
        DrillState state = DrillOf({c.row});
        const Judgement judged = JudgeToi(state, Ticked({}));
        EXPECT_EQ(judged.seikaiText, c.row[3]);
        EXPECT_EQ(judged.kaisetuText, c.kaisetu);
        EXPECT_EQ(judged.kaisetuPicture, c.picture) << ::testing::PrintToString(c.row);
    }
}

} // namespace

// Each correct choice is marked, ticked or missed, and each tick of a wrong
// choice; a stored answer that is no list of box numbers marks no box correct.
TEST(BoxMarks, RightMissedAndWrongTicks)
{
    using M = BoxMark;
    struct Case { std::vector<int> ticked; std::string seikai; std::array<BoxMark, 8> marks; };
    const Case cases[] = {
        {{1, 3}, "1_3", {M::Seikai, M::None, M::Seikai, M::None, M::None, M::None, M::None, M::None}},
        {{1}, "1_3", {M::Seikai, M::None, M::Missed, M::None, M::None, M::None, M::None, M::None}},
        {{2, 3}, "3", {M::None, M::WrongTick, M::Seikai, M::None, M::None, M::None, M::None, M::None}},
        {{}, "8", {M::None, M::None, M::None, M::None, M::None, M::None, M::None, M::Missed}},
        {{4}, "", {M::None, M::None, M::None, M::WrongTick, M::None, M::None, M::None, M::None}},
        {{1}, "0_9_x_1a_", {M::WrongTick, M::None, M::None, M::None, M::None, M::None, M::None, M::None}},
        {{}, "2__5", {M::None, M::Missed, M::None, M::None, M::Missed, M::None, M::None, M::None}},
    };
    for (const Case& c : cases) {
        std::array<bool, 8> boxes {};
        for (int box : c.ticked)
            boxes[static_cast<std::size_t>(box - 1)] = true;
        EXPECT_EQ(BoxMarks(boxes, c.seikai), c.marks) << c.seikai;
    }
}

TEST(JudgeToi, TimeUpIsToldWithTheJudgement)
{
    DrillState state = DrillOf({{"T1", "t", "e", "A", "0", "0", "0", "0"}});
    state.Nanwido = kNanwidoA;
    state.TimeCount = state.TimeLimit() - 1;
    EXPECT_FALSE(JudgeToi(state, Ticked({}, "A")).timeUp);
    state.TimeCount = state.TimeLimit();
    EXPECT_TRUE(JudgeToi(state, Ticked({}, "A")).timeUp);
}
