#include "drill/ShownText.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>

namespace {

// Lines of a shown text, split at LF.
std::vector<std::string> Lines(const std::string& text)
{
    std::vector<std::string> lines(1);
    for (char c : text) {
        if (c == '\n')
            lines.emplace_back();
        else
            lines.back() += c;
    }
    return lines;
}

// Byte positions at which a character of the text starts.
std::vector<bool> CharacterStarts(const std::string& text)
{
    std::vector<bool> starts(text.size() + 1, false);
    for (std::size_t i = 0; i < text.size(); i += SjisCharLength(text, i))
        starts[i] = true;
    starts[text.size()] = true;
    return starts;
}

TEST(BoundShownText, MarkersBecomeLineBreaksAndShortTextsStayWhole)
{
    struct Case { std::string in, out; };
    const Case cases[] = {
        {"", ""},
        {"A<$>B", "A\nB"},
        {"<$><$>", "\n\n"},
        {"<$", "<$"},
        {"\x96\xE2<$>\x91\xE8", "\x96\xE2\n\x91\xE8"}, // 問<$>題
        {"\x83\x5C\x83\x5C", "\x83\x5C\x83\x5C"},      // ソソ: 0x5C trail bytes stay
        {"end\x82", "end\x82"},                        // a lone lead byte at the end
        {"\x82<$>a", "\x82\na"},                       // a lone lead byte before a marker
    };
    for (const Case& c : cases) {
        const BoundedText shown = BoundShownText(c.in);
        EXPECT_EQ(shown.text, c.out) << c.in;
        EXPECT_FALSE(shown.cut) << c.in;
    }
}

TEST(BoundShownText, LongRunsAreBrokenBetweenCharacters)
{
    struct Case { std::string in; std::size_t maxRun; std::string out; };
    const Case cases[] = {
        {"abcdefg", 3, "abc\ndef\ng"},
        {"abc", 3, "abc"},                                // exactly the limit: no break
        {"ab cd ef", 3, "ab cd ef"},                      // blanks end runs
        {"abc<$>def", 3, "abc\ndef"},                     // so do markers
        {"ab\tcdef", 3, "ab\tcde\nf"},
        {"\x82\xA0\x82\xA2\x82\xA4", 3, "\x82\xA0\n\x82\xA2\n\x82\xA4"}, // あいう: pairs never split
        {"a\x82\xA0\x82\xA2", 4, "a\x82\xA0\n\x82\xA2"},
        {"ab\x81\x40" "cdef", 3, "ab\x81\x40" "cde\nf"}, // the full-width space ends a run
        {"\xB1\xB2\xB3\xB4", 2, "\xB1\xB2\n\xB3\xB4"},    // half-width kana are one byte
    };
    for (const Case& c : cases) {
        const BoundedText shown = BoundShownText(c.in, 1000, c.maxRun);
        EXPECT_EQ(shown.text, c.out) << c.in;
        EXPECT_FALSE(shown.cut);
    }
}

TEST(BoundShownText, LongTextsAreCutAtACharacterAndSaySo)
{
    struct Case { std::string in; std::size_t maxBytes; std::size_t maxRun; std::string out; bool cut; };
    const Case cases[] = {
        {"abcdef", 6, 100, "abcdef", false},
        {"abcdefg", 6, 100, "abcdef", true},
        {"ab\x82\xA0", 3, 100, "ab", true},          // the pair is not cut in half
        {"ab<$>cd", 3, 100, "ab\n", true},
        {"ab<$>", 2, 100, "ab", true},               // the marker's break does not fit
        {"abcdef", 4, 3, "abc", true},               // nor does a run's break
        {"abcdef", 5, 3, "abc\nd", true},
        {"abcdef", 7, 3, "abc\ndef", false},         // the added break counts as a byte
    };
    for (const Case& c : cases) {
        const BoundedText shown = BoundShownText(c.in, c.maxBytes, c.maxRun);
        EXPECT_EQ(shown.text, c.out) << c.in << " in " << c.maxBytes;
        EXPECT_EQ(shown.cut, c.cut) << c.in << " in " << c.maxBytes;
    }
}

TEST(BoundShownLine, CutsAtACharacterBoundary)
{
    struct Case { std::string in; std::size_t maxBytes; std::string out; bool cut; };
    const Case cases[] = {
        {"", 3, "", false},
        {"abc", 3, "abc", false},
        {"abcd", 3, "abc", true},
        {"a\x82\xA0\x82\xA2", 4, "a\x82\xA0", true},
        {"ab\x82\xA0", 3, "ab", true},
        {"a<$>b", 10, "a<$>b", false}, // one line: markers are not line breaks here
    };
    for (const Case& c : cases) {
        const BoundedText shown = BoundShownLine(c.in, c.maxBytes);
        EXPECT_EQ(shown.text, c.out) << c.in;
        EXPECT_EQ(shown.cut, c.cut) << c.in;
    }
}

// Whatever the bytes, the shown text is bounded, its lines are bounded, no
// character is torn, and taking out the added breaks gives back the start of
// the text with its markers as line breaks.
TEST(BoundShownText, AnyBytesGiveABoundedTextThatIsTheStartOfTheCell)
{
    std::mt19937 random(20261207);
    const std::string pieces[] = {"a", "Z", " ", "<$>", "<", "$", "\x82\xA0", "\x81\x40", "\x82", "\xB1", "\x81\x5C",
                                  "\xFC\xFC", "\t"};
    for (int round = 0; round < 400; ++round) {
        std::string cell;
        const int length = static_cast<int>(random() % 300);
        for (int i = 0; i < length; ++i) {
            // Long stretches of the same piece make long runs.
            const std::string& piece = pieces[random() % std::size(pieces)];
            for (unsigned k = random() % 30; k > 0; --k)
                cell += piece;
        }
        const std::size_t maxBytes = 1 + random() % 2000;
        const std::size_t maxRun = 2 + random() % 50;
        const BoundedText shown = BoundShownText(cell, maxBytes, maxRun);
        SCOPED_TRACE(testing::Message() << "round " << round);
        ASSERT_LE(shown.text.size(), maxBytes);
        for (const std::string& line : Lines(shown.text)) {
            std::size_t run = 0;
            for (std::size_t i = 0; i < line.size(); i += SjisCharLength(line, i)) {
                const bool blank = line[i] == ' ' || line[i] == '\t'
                    || (SjisCharLength(line, i) == 2 && line.compare(i, 2, "\x81\x40") == 0);
                run = blank ? 0 : run + SjisCharLength(line, i);
                ASSERT_LE(run, maxRun);
            }
        }
        // Every marker is a line break in the full form; the shown form is
        // that form's start with extra line breaks only.
        std::string full;
        for (std::size_t i = 0; i < cell.size();) {
            if (cell.compare(i, 3, "<$>") == 0) {
                full += '\n';
                i += 3;
            } else {
                full += cell[i++];
            }
        }
        const std::vector<bool> starts = CharacterStarts(full);
        std::size_t f = 0;
        for (char c : shown.text) {
            if (c == '\n' && (f >= full.size() || full[f] != '\n')) {
                ASSERT_TRUE(starts[f]) << "a break inside a character at " << f;
                continue; // a break the bound added
            }
            ASSERT_LT(f, full.size());
            ASSERT_EQ(c, full[f]);
            ++f;
        }
        ASSERT_TRUE(starts[f]) << "cut inside a character at " << f;
        EXPECT_EQ(shown.cut, f < full.size());
    }
}

} // namespace
