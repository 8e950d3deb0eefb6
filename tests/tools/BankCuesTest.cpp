// The answer cues on small banks built to show each one, and one to show none.
#include "BankTestRows.h"

#include <gtest/gtest.h>

namespace {

const std::string kHeader = "問キー,問題文,解説文,正解,選択肢数,ラベル種類,問題画像,解説画像\n";

// A choice question in label set 3 whose choices are the given texts.
std::string Question(int key, const std::vector<std::string>& choices, const std::string& answer,
                     const std::string& stem = "どれか。")
{
    static const char* const kLabels[] = {"ア", "イ", "ウ", "エ", "オ", "カ", "キ", "ク"};
    std::string text = "\"問" + std::to_string(key) + stem;
    for (std::size_t k = 0; k < choices.size(); ++k)
        text += "\n" + std::string(kLabels[k]) + ". " + choices[k];
    return std::to_string(key) + "," + text + "\",解説," + answer + "," + std::to_string(choices.size()) + ",3,0,0\n";
}

CueFigures Cues(const std::string& rows)
{
    const std::vector<BankStats> stats = BankStatistics(ParseCsvSources({{"a.csv", kHeader + rows}}));
    return stats.empty() ? CueFigures {} : stats.back().cues;
}

// Forty balanced questions: the key's place and length vary, no absolute
// words, multi-answer sets of every size.
std::string Balanced()
{
    std::string rows;
    for (int i = 0; i < 40; ++i) {
        std::vector<std::string> choices = {"ああ", "いいい", "うう", "ええええ"};
        rows += Question(100 + i, choices, std::to_string(i % 4 + 1));
    }
    const char* const answers[] = {"1", "2_3", "1_2_3_4_5", "2_4", "1_3_5", "3", "4_5", "1_2"};
    for (int i = 0; i < 40; ++i) {
        // Choice lengths 2..6 in turns, so long and short ones are correct alike.
        std::vector<std::string> choices;
        for (int k = 0; k < 5; ++k)
            choices.push_back(std::string(3 * (2 + (i + k) % 5), 'x'));
        rows += Question(200 + i, choices, answers[i % 8], "すべて選べ。");
    }
    return rows;
}

TEST(BankCues, ABalancedBankShowsNone)
{
    const CueFigures f = Cues(Balanced());
    EXPECT_EQ(f.choicesNotFound, 0);
    EXPECT_EQ(f.singleQuestions, 40);
    EXPECT_EQ(f.multiQuestions, 40);
    EXPECT_FALSE(f.longestUnlikely) << f.longestP;
    EXPECT_FALSE(f.lengthUnlikely) << f.lengthP;
    EXPECT_FALSE(f.absoluteUnlikely) << f.absoluteP;
    EXPECT_FALSE(f.countUnlikely) << f.countP;
    // Keys 1..4 over choices of length 2, 3, 2, 4: the key is the only longest a quarter of the time.
    EXPECT_EQ(f.onlyLongest, 10);
    EXPECT_DOUBLE_EQ(f.longestExpected, 10.0);
}

TEST(BankCues, EachCueShowsOnABankBuiltForIt)
{
    std::string longest, length, absolute, count;
    for (int i = 0; i < 30; ++i) {
        // The key is always the one long choice.
        std::vector<std::string> choices = {"短い", "短い", "短い", "短い"};
        choices[i % 4] = "とても長い選択肢の文章";
        longest += Question(100 + i, choices, std::to_string(i % 4 + 1));
        // The long ones correct, the short ones wrong; two or three of five.
        std::vector<std::string> multi = {"ab", "ab", "ab", "ab", "ab"};
        multi[i % 5] = multi[(i + 2) % 5] = "long long long";
        const int a = std::min(i % 5, (i + 2) % 5) + 1, b = std::max(i % 5, (i + 2) % 5) + 1;
        length += Question(200 + i, multi, std::to_string(a) + "_" + std::to_string(b), "すべて選べ。");
        // Every choice with 必ず is wrong.
        std::vector<std::string> words = {"必ず起こる", "起こる", "必ず消える", "消える"};
        absolute += Question(300 + i, words, i % 2 ? "2" : "4");
        // Multi-answer questions always with two of five correct: never one, never all.
        count += Question(400 + i, {"a", "b", "c", "d", "e"}, i % 2 ? "1_3" : "2_5", "すべて選べ。");
        count += Question(500 + i, {"a", "b", "c", "d", "e"}, i % 2 ? "3_4" : "1_5", "すべて選べ。");
    }
    const CueFigures l = Cues(longest);
    EXPECT_TRUE(l.longestUnlikely);
    EXPECT_EQ(l.onlyLongest, 30);
    EXPECT_DOUBLE_EQ(l.longestScore, 30);
    EXPECT_FALSE(l.AnyUnlikely() && !l.longestUnlikely);
    const CueFigures n = Cues(length);
    EXPECT_TRUE(n.lengthUnlikely) << n.lengthP;
    EXPECT_EQ(n.longerCorrect, 60);
    EXPECT_EQ(n.shorterCorrect, 0);
    const CueFigures w = Cues(absolute);
    EXPECT_TRUE(w.absoluteUnlikely);
    EXPECT_EQ(w.absoluteChoices, 60);
    EXPECT_EQ(w.absoluteCorrect, 0);
    EXPECT_FALSE(w.longestUnlikely);
    const CueFigures c = Cues(count);
    EXPECT_TRUE(c.countUnlikely) << c.countP;
    EXPECT_EQ(c.between, 60);
    EXPECT_NEAR(c.oneExpected, 60 * 5 / 31.0, 1e-9);
    EXPECT_NEAR(c.allExpected, 60 / 31.0, 1e-9);
    EXPECT_NE(FormatCues("c", c).find("or all, less often than chance"), std::string::npos);
    // The other way: every multi-answer question with one correct choice.
    std::string single;
    for (int i = 0; i < 30; ++i)
        single += Question(600 + i, {"a", "b", "c", "d", "e"}, std::to_string(i % 5 + 1), "すべて選べ。");
    const CueFigures o = Cues(single);
    EXPECT_TRUE(o.countUnlikely) << o.countP;
    EXPECT_NE(FormatCues("o", o).find("or all, more often than chance"), std::string::npos);
    // The report names each cue with a warning line.
    const std::string report = FormatBankStats(BankStatistics(ParseCsvSources({{"l.csv", kHeader + longest}})));
    EXPECT_NE(report.find("warning: l.csv: the key is the longest choice more often than chance"), std::string::npos)
        << report;
    EXPECT_TRUE(WholeBankShowsCue(BankStatistics(ParseCsvSources({{"l.csv", kHeader + longest}}))));
}

TEST(BankCues, ChoicesAreTheLabelledLinesWithTheirContinuations)
{
    struct Case {
        const char* text; // UTF-8, lines joined by "<$>"
        int choices;
        int labelSet;
        std::vector<const char*> expected;
    };
    const Case cases[] = {
        {"問<$>ア. 一<$>イ. 二二", 2, 3, {"一", "二二"}},
        {"1. x<$>問<$>1. SELECT<$>   FROM t<$>2. y", 2, 0, {"SELECT<$>   FROM t", "y"}},
        {"A：a<$>B．b", 2, 1, {"a", "b"}},
        {"イ. a<$>ロ. b<$>ハ. c<$>ニ. d<$>ホ. e<$>ヘ. f", 6, 2, {"a", "b", "c", "d", "e", "f"}}, // katakana ヘ
        {"ア. a<$>ウ. c", 2, 3, {}},
        {"ア. a", 2, 3, {}},
        {"ア. a<$>イ. b", 2, 7, {}},
    };
    for (const Case& c : cases) {
        std::string sjis;
        Utf8ToSjis(c.text, sjis);
        const std::vector<std::string_view> found = ChoiceTexts(sjis, c.choices, c.labelSet);
        std::vector<std::string> utf8;
        for (std::string_view v : found)
            utf8.push_back(SjisToUtf8(std::string(v)));
        EXPECT_EQ(utf8, std::vector<std::string>(c.expected.begin(), c.expected.end())) << c.text;
    }
    std::string sjis;
    Utf8ToSjis("SELECT<$>表", sjis);
    EXPECT_EQ(CharacterCount(sjis), 7);
}

// The paper-form cues. Keys in the order of a de Bruijn sequence of the four
// positions: every ordered pair of positions follows once per 16, so a key
// repeats the previous one, or follows it, a quarter of the time.
int BalancedKey(int i)
{
    static const int kOrder[16] = {1, 1, 2, 1, 3, 1, 4, 2, 2, 3, 2, 4, 3, 3, 4, 4};
    return kOrder[i % 16];
}

std::string Answer(int box)
{
    return std::to_string(box);
}

// Single-answer questions with equal choices, keys in the given order.
std::string Ordered(const std::vector<int>& keys)
{
    std::string rows;
    for (std::size_t i = 0; i < keys.size(); ++i)
        rows += Question(600 + static_cast<int>(i), {"ああ", "いい", "うう", "ええ"}, Answer(keys[i]));
    return rows;
}

// Combination questions whose one top choice (elements that two or three
// choices share) is the key when onTop says so.
std::string Combinations(int count, bool (*onTop)(int))
{
    std::string rows;
    for (int i = 0; i < count; ++i) {
        const int key = BalancedKey(i);
        std::vector<std::string> choices = {"b、f、g", "a、c、e", "a、b、d", "a、b、c"}; // weights rising
        if (!onTop(i))
            std::swap(choices[3], choices[static_cast<std::size_t>(i % 3)]);
        std::swap(choices[3], choices[static_cast<std::size_t>(key - 1)]);
        rows += Question(700 + i, choices, Answer(key), "組合せはどれか。");
    }
    return rows;
}

// Absolute words in every key, or in a quarter of the keys and of the distractors.
std::string Absolute(int count, bool everyKey)
{
    std::string rows;
    for (int i = 0; i < count; ++i) {
        const int key = BalancedKey(i);
        std::vector<std::string> choices = {"時に起こる", "時に消える", "稀に起こる", "稀に消える"};
        if (everyKey || i % 4 == 0)
            choices[static_cast<std::size_t>(key - 1)] = "必ず起こる";
        if (!everyKey)
            choices[static_cast<std::size_t>(key % 4)] = "必ず消える"; // a distractor each time
        rows += Question(800 + i, choices, Answer(key));
    }
    return rows;
}

// Six-choice multi-answer questions, the number correct given by count(i).
std::string SixChoice(int questions, int (*count)(int))
{
    static const char* const kAnswers[] = {"", "4", "2_5", "1_3_6", "1_2_4_5", "2_3_4_5_6", "1_2_3_4_5_6"};
    std::string rows;
    for (int i = 0; i < questions; ++i)
        rows += Question(900 + i, {"a", "b", "c", "d", "e", "f"}, kAnswers[count(i)], "すべて選べ。");
    return rows;
}

std::vector<BankStats> Stats(const std::string& rows)
{
    return BankStatistics(ParseCsvSources({{"a.csv", kHeader + rows}}));
}

std::vector<int> Keys(int count, int (*key)(int))
{
    std::vector<int> keys;
    for (int i = 0; i < count; ++i)
        keys.push_back(key(i));
    return keys;
}

TEST(BankCues, EachPaperFormCueFailsTheStrictStatsOfABankBuiltForIt)
{
    const std::string fair = Ordered(Keys(48, BalancedKey)) + Combinations(48, [](int i) { return i % 4 == 0; }) +
                             Absolute(48, false) + SixChoice(30, [](int i) { return i % 5 + 1; });
    const std::vector<BankStats> fairStats = Stats(fair);
    const ExamCueFigures& f = fairStats.back().examCues;
    EXPECT_EQ(ExamCueNames(f), std::vector<std::string> {});
    EXPECT_FALSE(WholeBankShowsCue(fairStats)) << FormatBankStats(fairStats);
    EXPECT_EQ(f.combinations, 48);
    EXPECT_EQ(f.keyOnTop, 12);
    EXPECT_EQ(f.absoluteKeys, 12);
    EXPECT_EQ(f.absoluteDistractors, 48);
    EXPECT_EQ(f.sixQuestions, 30);
    EXPECT_EQ(fairStats.back().examFormat, 144);

    struct Case {
        const char* name;
        std::string rows;
    };
    const Case cases[] = {
        // 1,1,3,3,2,2,4,4: half the keys repeat the one before.
        {"key-repeat", Ordered(Keys(40, [](int i) { return std::vector<int> {1, 1, 3, 3, 2, 2, 4, 4}[i % 8]; }))},
        // Three keys of four follow the one before, one repeats it.
        {"key-after", Ordered(Keys(48, [](int i) { return std::vector<int> {1, 2, 2, 3, 4, 1, 1, 2, 3, 4, 4, 1, 2, 3, 3, 4}[i % 16]; }))},
        {"combination", Combinations(48, [](int) { return true; })},
        {"key-words", Absolute(48, true)},
        {"correct-count", SixChoice(30, [](int) { return 3; })},
    };
    for (const Case& c : cases) {
        const std::vector<BankStats> stats = Stats(c.rows);
        EXPECT_EQ(ExamCueNames(stats.back().examCues), std::vector<std::string> {c.name}) << FormatBankStats(stats);
        EXPECT_TRUE(WholeBankShowsCue(stats)) << c.name;
        EXPECT_NE(FormatBankStats(stats).find("warning: a.csv: "), std::string::npos) << c.name;
        // Allowed, the cue alone no longer fails (the absolute words show the older cue too).
        if (std::string(c.name) != "key-words") {
            EXPECT_FALSE(WholeBankShowsCue(stats, {c.name})) << c.name;
        }
    }
}

TEST(BankCues, CombinationChoicesAreCutIntoTheirElements)
{
    struct Case {
        const char* choice;
        std::vector<const char*> elements;
    };
    const Case cases[] = {
        {"a, b", {"a", "b"}},
        {"(1)と(3)", {"(1)", "(3)"}},
        {"生成：送信者の秘密鍵　検証：送信者の公開鍵", {"生成：送信者の秘密鍵", "検証：送信者の公開鍵"}},
        {"{学生番号, 科目番号}", {"学生番号", "科目番号"}},
        {"R1(A, B) と R2(A, C)", {"R1(A, B)", "R2(A, C)"}},
        {"10,000 と 1,010,000", {"10,000", "1,010,000"}},
        {"A＝1、A＝1、B＝2", {"A＝1", "B＝2"}},
        {"ともに変わるので、履歴をとる", {"ともに変わるので", "履歴をとる"}},
    };
    for (const Case& c : cases) {
        std::string sjis;
        Utf8ToSjis(c.choice, sjis);
        std::vector<std::string> found;
        for (std::string_view e : CombinationElements(sjis))
            found.push_back(SjisToUtf8(std::string(e)));
        EXPECT_EQ(found, std::vector<std::string>(c.elements.begin(), c.elements.end())) << c.choice;
    }
    // Sentences, or choices that share nothing, are no combination question.
    auto weights = [](std::vector<const char*> utf8) {
        std::vector<std::string> sjis(utf8.size());
        std::vector<std::string_view> views;
        for (std::size_t k = 0; k < utf8.size(); ++k) {
            Utf8ToSjis(utf8[k], sjis[k]);
            views.push_back(sjis[k]);
        }
        return CombinationWeights(views);
    };
    EXPECT_EQ(weights({"(1)と(2)", "(1)と(3)", "(2)と(3)", "(3)と(4)"}), (std::vector<double> {2, 2.5, 2.5, 2}));
    EXPECT_TRUE(weights({"a、b", "c、d", "e、f", "g"}).empty());
    EXPECT_TRUE(weights({"aは、bである。", "aは、cである。", "dは、bである。", "e"}).empty());
    EXPECT_TRUE(weights({"a", "b", "c", "d"}).empty());

    EXPECT_DOUBLE_EQ(BinomialUpperTail(2, 2, 0.5), 0.25);
    EXPECT_DOUBLE_EQ(BinomialUpperTail(0, 5, 0.2), 1);
    EXPECT_NEAR(HypergeometricUpperTail(2, 6, 2, 3), 0.2, 1e-12); // both good ones among three of six
}

} // namespace
