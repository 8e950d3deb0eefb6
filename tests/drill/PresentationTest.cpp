#include "data/DataTexts.h"
#include "drill/Presentation.h"

#include <gtest/gtest.h>

namespace {

// A drill whose list holds the one question row given, at difficulty Ａ.
DrillState DrillWith(const TextRow& row, PlayModeValue mode = kModeNormal)
{
    DrillState state;
    state.ToiTable[0] = {"key", "text", "kaisetu", "seikai", "n", "set", "pic", "kpic"};
    state.ToiTable[1] = row;
    state.ToiList = {1};
    state.PlayMode = mode;
    return state;
}

TEST(ViewOfToi, ChoiceCountAndLabelSetDecideTheAnswerControls)
{
    struct Case {
        std::string choices, labelSet;
        bool choice;
        int boxCount, shownSet;
        std::optional<std::int32_t> badSet;
    };
    const Case cases[] = {
        {"0", "0", false, 0, 0, std::nullopt},
        {"1", "1", false, 0, 1, std::nullopt},
        {"", "2", false, 0, 2, std::nullopt},
        {"NONE", "0", false, 0, 0, std::nullopt},
        {"2", "0", true, 2, 0, std::nullopt},
        {"4", "1", true, 4, 1, std::nullopt},
        {"8", "2", true, 8, 2, std::nullopt},
        {"9", "0", true, 8, 0, std::nullopt},
        {"14", "1", true, 8, 1, std::nullopt},
        {"4", "3", true, 4, 3, std::nullopt}, // ア, イ, ウ, エ as the exam paper
        {"3", "4", true, 3, 0, 4},
        {"3", "7", true, 3, 0, 7},
        {"3", "-1", true, 3, 0, -1},
        {"3", "word", true, 3, 0, std::nullopt}, // a word reads as set 0
    };
    for (const Case& c : cases) {
        const ToiView view = ViewOfToi(DrillWith({"K", "t", "e", "1", c.choices, c.labelSet, "0", "0"}));
        SCOPED_TRACE("choices \"" + c.choices + "\", labels \"" + c.labelSet + '"');
        ASSERT_TRUE(view.found);
        EXPECT_EQ(view.choice, c.choice);
        EXPECT_EQ(view.boxCount, c.boxCount);
        EXPECT_EQ(view.labelSet, c.shownSet);
        EXPECT_EQ(view.badLabelSet, c.badSet);
        EXPECT_FALSE(view.shortRow);
    }
}

TEST(ViewOfToi, TextKeyAndPicture)
{
    ToiView view = ViewOfToi(DrillWith({"1234", "A<$>B<$><$>C", "e", "1", "0", "0", "0", "1"}));
    EXPECT_EQ(view.row, 1);
    EXPECT_EQ(view.key, "1234");
    EXPECT_EQ(view.text, "A\r\nB\r\n\r\nC");
    EXPECT_EQ(view.pictureFile, "") << "only column 6 names the question picture";

    for (const char* flag : {"1", "2", "-1", " 3x"}) {
        view = ViewOfToi(DrillWith({"77", "t", "e", "1", "0", "0", flag, "0"}));
        EXPECT_EQ(view.pictureFile, "NONEm77.jpg") << flag;
        EXPECT_EQ(view.text, "t") << "the text is still known for a picture that cannot be shown";
    }
    for (const char* flag : {"0", "", "NONE"})
        EXPECT_EQ(ViewOfToi(DrillWith({"77", "t", "e", "1", "0", "0", flag, "0"})).pictureFile, "") << flag;
}

TEST(ViewOfToi, ShortRowsPresentWithEmptyCells)
{
    ToiView view = ViewOfToi(DrillWith({"S1", "short"}));
    ASSERT_TRUE(view.found);
    EXPECT_TRUE(view.shortRow);
    EXPECT_FALSE(view.choice);
    EXPECT_EQ(view.text, "short");
    EXPECT_EQ(view.pictureFile, "");

    view = ViewOfToi(DrillWith({}));
    ASSERT_TRUE(view.found) << "an empty row is still a question row";
    EXPECT_TRUE(view.shortRow);
    EXPECT_EQ(view.key, "");
}

TEST(ViewOfToi, NothingToPresentOutsideTheListOrTheBank)
{
    struct Case { std::vector<std::int32_t> list; std::uint32_t index; std::int32_t row; };
    const Case cases[] = {
        {{1}, 1, -1},  // past the end of the list
        {{}, 0, -1},   // an empty list
        {{2}, 0, 2},   // a row the bank does not have
        {{0}, 0, 0},   // the header row
        {{-5}, 0, -5},
    };
    for (const Case& c : cases) {
        DrillState state = DrillWith({"K", "t", "e", "1", "0", "0", "0", "0"});
        state.ToiList = c.list;
        state.ToiIndex = c.index;
        const ToiView view = ViewOfToi(state);
        EXPECT_FALSE(view.found) << c.row;
        EXPECT_EQ(view.row, c.row);
    }
}

TEST(ViewOfToi, ChancesAreShownInNormalAndRandomModeOnly)
{
    const TextRow row {"K", "t", "e", "1", "0", "0", "0", "0"};
    for (PlayModeValue mode : {kModeNormal, kModeRand, kModeJakuten, kModeHNormal, kModeHRand})
        EXPECT_EQ(ViewOfToi(DrillWith(row, mode)).nokoriShown, mode == kModeNormal || mode == kModeRand) << mode;
}

TEST(Countdown, StartsAtTheLimitOfTheDifficultyAndIsUpAtZero)
{
    struct Case { NanwidoValue nanwido; std::int32_t limit; };
    for (const Case& c : {Case {kNanwidoA, 15}, Case {kNanwidoB, 30}, Case {kNanwidoC, 45}, Case {kNanwidoD, 60},
                          Case {kNanwidoE, 75}, Case {kNanwidoF, 90}}) {
        DrillState state;
        state.Nanwido = c.nanwido;
        CountdownView view = ViewOfCountdown(state);
        EXPECT_EQ(view.left, c.limit);
        EXPECT_EQ(view.barValue, 0);
        EXPECT_FALSE(view.timeUp);
        for (std::int32_t second = 1; second < c.limit; ++second) {
            view = TickCountdown(state);
            ASSERT_FALSE(view.timeUp) << "second " << second;
        }
        EXPECT_EQ(view.left, 1);
        view = TickCountdown(state);
        EXPECT_EQ(state.TimeCount, c.limit);
        EXPECT_EQ(view.left, 0);
        EXPECT_EQ(view.barValue, c.limit);
        EXPECT_TRUE(view.timeUp);
    }
}

} // namespace
