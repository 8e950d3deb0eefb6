#include "drill/ShownText.h"

#include "data/ToiBank.h"

#include <gtest/gtest.h>

#include <random>

namespace {

TEST(BoundShownText, MarkersBreakLinesLongRunsBreakAndLongTextsAreCut)
{
    struct Case { std::string in; std::size_t maxBytes, maxRun; std::string out; bool cut; };
    const Case cases[] = {
        {"A<$>B", 100, 100, "A\nB", false},
        {"<$", 100, 100, "<$", false},
        {"\x83\x5C\x83\x5C<$>", 100, 100, "\x83\x5C\x83\x5C\n", false}, // ソソ: 0x5C trail bytes stay
        {"\x82<$>a", 100, 100, "\x82\na", false},     // a lone lead byte never swallows a marker
        {"end\x82", 100, 100, "end\x82", false},
        {"abcdefg", 100, 3, "abc\ndef\ng", false},
        {"abc", 100, 3, "abc", false},                // exactly the limit: no break
        {"ab cd\tef", 100, 3, "ab cd\tef", false},    // blanks end runs
        {"ab\x81\x40" "cdef", 100, 3, "ab\x81\x40" "cde\nf", false}, // so does the full-width space
        {"abc<$>def", 100, 3, "abc\ndef", false},     // and a marker
        {"\x82\xA0\x82\xA2\x82\xA4", 100, 3, "\x82\xA0\n\x82\xA2\n\x82\xA4", false}, // あいう: pairs stay whole
        {"\xB1\xB2\xB3", 100, 2, "\xB1\xB2\n\xB3", false}, // half-width kana are one byte
        {"abcdefg", 6, 100, "abcdef", true},
        {"ab\x82\xA0", 3, 100, "ab", true},           // the pair is not cut in half
        {"ab<$>", 2, 100, "ab", true},                // the marker's break does not fit
        {"abcdef", 4, 3, "abc", true},                // nor does a run's break
        {"abcdef", 7, 3, "abc\ndef", false},          // the added break counts as a byte
    };
    for (const Case& c : cases) {
        const BoundedText shown = BoundShownText(BankText(c.in), c.maxBytes, c.maxRun);
        EXPECT_EQ(shown.text, c.out) << c.in << " in " << c.maxBytes;
        EXPECT_EQ(shown.cut, c.cut) << c.in << " in " << c.maxBytes;
    }
    const BoundedText line = BoundShownLine("a\x82\xA0\x82\xA2<$>", 4);
    EXPECT_EQ(line.text, "a\x82\xA0");
    EXPECT_TRUE(line.cut);
    EXPECT_EQ(BoundShownLine("a<$>b", 5).text, "a<$>b") << "one line: a marker is no line break";
}

// Whatever the cell's bytes, the shown text is bounded, its runs are bounded, and
// taking out the added breaks gives back the start of the text (markers as
// line breaks), cut and broken only between characters.
TEST(BoundShownText, AnyBytesGiveABoundedStartOfTheText)
{
    std::mt19937 random(20261207);
    const std::string pieces[] = {"a", " ", "<$>", "<", "\x82\xA0", "\x81\x40", "\x82", "\xB1", "\x81\x5C", "\t"};
    for (int round = 0; round < 400; ++round) {
        std::string cell;
        for (int i = static_cast<int>(random() % 300); i > 0; --i) {
            const std::string& piece = pieces[random() % std::size(pieces)];
            for (unsigned k = random() % 30; k > 0; --k) // long stretches make long runs
                cell += piece;
        }
        const std::size_t maxBytes = 1 + random() % 2000;
        const std::size_t maxRun = 2 + random() % 50;
        const BoundedText shown = BoundShownText(BankText(cell), maxBytes, maxRun);
        SCOPED_TRACE(testing::Message() << "round " << round);
        ASSERT_LE(shown.text.size(), maxBytes);

        std::string full; // the cell with its markers as line breaks
        for (std::size_t i = 0; i < cell.size();)
            full += cell.compare(i, 3, "<$>") == 0 ? (i += 3, '\n') : cell[i++];
        std::vector<bool> starts(full.size() + 1, false);
        for (std::size_t i = 0; i < full.size(); i += SjisCharLength(full, i))
            starts[i] = true;
        starts[full.size()] = true;

        std::size_t f = 0, run = 0, blankLeft = 0;
        for (const char c : shown.text) {
            if (c == '\n' && (f >= full.size() || full[f] != '\n')) {
                ASSERT_TRUE(starts[f]) << "a break inside a character at " << f;
                run = 0; // a break the bound added
                continue;
            }
            ASSERT_LT(f, full.size());
            ASSERT_EQ(c, full[f]);
            if (starts[f] && full.compare(f, 2, "\x81\x40") == 0)
                blankLeft = 2; // the full-width space
            const bool blank = c == ' ' || c == '\t' || c == '\n' || blankLeft > 0;
            blankLeft -= blankLeft > 0 ? 1 : 0;
            run = blank ? 0 : run + 1;
            ASSERT_LE(run, maxRun) << "a run past the limit at " << f;
            ++f;
        }
        ASSERT_TRUE(starts[f]) << "cut inside a character at " << f;
        EXPECT_EQ(shown.cut, f < full.size());
    }
}

} // namespace
