// The table read against slower readers that follow the steps one by one,
// on random and hostile bytes, and the promise that any table read writes
// back as itself.
#include "text/Unit2.h"

#include "support/EucOracle.h"
#include "support/WorkFolder.h"

#include <gtest/gtest.h>

#include <memory>
#include <random>
#include <string>
#include <vector>

namespace {

bool IsHigh(char c)
{
    return static_cast<unsigned char>(c) >= 0x80;
}

// SjisToEuc, except that a byte of 0x80 or above directly before a CR or LF
// stays alone: a line end never belongs to a character.
std::string SjisToEucKeepingLineEnds(const std::string& text)
{
    std::string out;
    std::size_t done = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (!IsHigh(text[i]))
            continue;
        if (i + 1 < text.size() && (text[i + 1] == '\r' || text[i + 1] == '\n'))
            continue; // this byte stays as it is
        out += text.substr(done, i - done);
        out += SjisToEuc(text.substr(i, 2));
        done = i + 2;
        ++i;
    }
    out += text.substr(std::min(done, text.size()));
    return out;
}

// The read as its steps are written: the whole text to EUC-JP, CRs out,
// lines at LF, the last piece dropped (and blank lines at the end), the edge
// bytes of each line off, cells at quote comma quote, each cell back to
// Shift_JIS.
TextTable StepByStepRead(std::string bytes)
{
    bytes = bytes.substr(0, bytes.find('\0'));
    std::vector<std::string> lines = SplitText(EraseAll(SjisToEucKeepingLineEnds(bytes), "\r"), "\n");
    lines.pop_back();
    while (!lines.empty() && lines.back().size() < 2)
        lines.pop_back();
    TextTable table;
    std::int32_t row = 0;
    for (const std::string& line : lines) {
        TextRow cells;
        for (const std::string& piece : SplitText(line.size() >= 2 ? line.substr(1, line.size() - 2) : "", "\",\""))
            cells.push_back(EucToSjis(piece));
        table[row++] = cells;
    }
    return table;
}

// The same rule walked forwards over each line's cells, for any bytes:
// characters taken from the left, quote comma quote a boundary only where
// its quote starts a character, a JIS character with the second byte 0x7F
// read as 0x7E.
TextTable ForwardRead(std::string bytes)
{
    bytes = bytes.substr(0, bytes.find('\0'));
    std::vector<std::string> lines = SplitText(EraseAll(bytes, "\r"), "\n");
    lines.pop_back();
    while (!lines.empty() && lines.back().size() < 2)
        lines.pop_back();
    TextTable table;
    std::int32_t row = 0;
    for (const std::string& line : lines) {
        const std::string inner = line.size() >= 2 ? line.substr(1, line.size() - 2) : "";
        TextRow cells;
        std::string cell;
        for (std::size_t i = 0; i < inner.size(); ++i) {
            const auto c = static_cast<unsigned char>(inner[i]);
            if (c >= 0x80 && i + 1 < inner.size()) {
                const bool jis = c <= 0x9F || (c >= 0xE0 && c <= 0xEF);
                cell += inner[i];
                cell += (jis && inner[i + 1] == 0x7F) ? '\x7E' : inner[i + 1];
                ++i;
            } else if (inner.compare(i, 3, "\",\"") == 0) {
                cells.push_back(cell);
                cell.clear();
                i += 2;
            } else {
                cell += inner[i];
            }
        }
        cells.push_back(cell);
        table[row++] = cells;
    }
    return table;
}

// The read around NULs, line by line: a line that holds a NUL is skipped
// and keeps its number; every other line is read as ForwardRead reads it,
// blank lines at the end dropped.
TextTable AroundNulRead(const std::string& bytes)
{
    std::vector<std::string> lines = SplitText(bytes, "\n");
    lines.pop_back(); // the bytes after the last LF are no line
    TextTable table;
    std::vector<bool> blank(lines.size(), false);
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (lines[i].find('\0') != std::string::npos)
            continue;
        const std::string line = EraseAll(lines[i], "\r");
        blank[i] = line.size() < 2;
        table[static_cast<std::int32_t>(i)] = blank[i] ? TextRow {""} : ForwardRead(line + "\n").at(0);
    }
    while (!table.empty() && blank[static_cast<std::size_t>(table.rbegin()->first)])
        table.erase(std::prev(table.end()));
    return table;
}

char Pick(std::mt19937& random, const std::string& from)
{
    return from[random() % from.size()];
}

std::string JisCharacter(std::mt19937& random)
{
    static const std::string kLeads = "\x80\x81\x82\x88\x96\x9F\xE0\xE5\xEF";
    static const std::string kTrails = std::string("\x40\x41\x7E\x7F\x80\x9E\x9F\xA0\xFC\xFD\xFE\xFF\x01\x0B\x22\x2C", 16);
    std::string c(1, Pick(random, kLeads));
    c += (random() % 3 == 0) ? static_cast<char>(0x40 + random() % 0xBD) : Pick(random, kTrails);
    return c;
}

// A file the step-by-step read handles sanely: every first byte of a
// character is a JIS one, every line starts and ends outside a character,
// a lone first byte stands only right before a line end or at the end.
std::string WellFormedFile(std::mt19937& random)
{
    static const std::string kAscii = "\"\",,a<$%> \t\x01\x7F";
    static const std::string kLeads = "\x81\x85\xE0";
    static const std::string kEnds[] = {"\n", "\r\n", "\r\r\n"};
    std::string file;
    const int lines = static_cast<int>(random() % 6);
    for (int l = 0; l < lines; ++l) {
        switch (random() % 8) {
        case 0: file += ""; break;                             // an empty line
        case 1: file += std::string(1, Pick(random, kAscii)); break; // a one-byte line
        case 2: file += std::string(1, Pick(random, kLeads)); break; // a lone first byte alone
        default: {
            file += Pick(random, kAscii);
            const int tokens = static_cast<int>(random() % 10);
            for (int t = 0; t < tokens; ++t) {
                switch (random() % 6) {
                case 0: file += "\",\""; break;
                case 1: file += "\r"; break; // a CR inside the line
                case 2:
                case 3: file += JisCharacter(random); break;
                default: file += Pick(random, kAscii); break;
                }
            }
            if (random() % 4 == 0)
                file += Pick(random, kLeads); // a lone first byte before the line end
            else
                file += Pick(random, kAscii);
        }
        }
        file += kEnds[random() % 3];
    }
    switch (random() % 4) {
    case 0: file += "\"tail"; break;                           // a last line without its end
    case 1: file += std::string(1, Pick(random, kLeads)); break; // a lone byte at the very end
    case 2: file += std::string("\"a\0\"b\"\r\n", 8); break;   // a NUL ends the text
    default: break;
    }
    return file;
}

// Any bytes, with the ones that matter to the format made likely.
std::string AnyBytes(std::mt19937& random)
{
    static const std::string kLikely = std::string("\"\",,\r\n\n\x81\x85\x9F\xA5\xB1\xE0\xEF\xF0\xF5\xF7\xFC\xFF\x7F\x00", 21);
    std::string file;
    const int length = static_cast<int>(random() % 48);
    for (int i = 0; i < length; ++i)
        file += random() % 2 ? Pick(random, kLikely) : static_cast<char>(random() % 256);
    return file;
}

std::string Shown(const std::string& bytes)
{
    std::string shown;
    static const char kHex[] = "0123456789ABCDEF";
    for (char c : bytes) {
        const auto b = static_cast<unsigned char>(c);
        if (b >= 0x20 && b < 0x7F && b != '\\') {
            shown += c;
        } else {
            shown += "\\x";
            shown += kHex[b >> 4];
            shown += kHex[b & 15];
        }
    }
    return shown;
}

TEST(TableRead, AgreesWithTheStepsOnWellFormedAndHostileFiles)
{
    std::mt19937 random(20261207);
    for (int i = 0; i < 4000; ++i) {
        const std::string file = WellFormedFile(random);
        ASSERT_EQ(ParseTableFile(file), StepByStepRead(file)) << Shown(file);
    }
}

TEST(TableRead, AgreesWithTheForwardWalkOnAnyBytes)
{
    std::mt19937 random(7);
    for (int i = 0; i < 20000; ++i) {
        const std::string file = AnyBytes(random);
        ASSERT_EQ(ParseTableFile(file), ForwardRead(file)) << Shown(file);
    }
}

TEST(TableRead, AnyTableReadWritesBackAsItself)
{
    std::mt19937 random(11);
    for (int i = 0; i < 20000; ++i) {
        const std::string file = i % 2 ? AnyBytes(random) : WellFormedFile(random);
        const TextTable table = ParseTableFile(file);
        for (const auto& [row, cells] : table)
            for (std::size_t j = 0; j < cells.size(); ++j)
                ASSERT_EQ(cells.Cell(j).find_first_of(std::string("\r\n\0", 3)), std::string_view::npos)
                    << Shown(file);
        const std::string written = TableToFileBytes(table);
        ASSERT_EQ(written, [&] {
            std::string text = TableToText(table);
            return ReplaceAll(text, "\n", "\r\n");
        }()) << Shown(file);
        ASSERT_EQ(ParseTableFile(written), table) << Shown(file);
        ASSERT_EQ(TableToFileBytes(ParseTableFile(written)), written) << Shown(file);
    }
}

TEST(TableRead, TheStepsThemselvesLetALeadByteSwallowALineEnd)
{
    // Why the first byte of a character never takes a line end: the plain
    // double conversion pairs it with the LF, two lines become one and the
    // cell holds the LF, which no file can hold.
    const std::string file = "\"1001\",\"1\x85\n\"1002\",\"7\"\n";
    // One line and the empty piece after the last LF.
    EXPECT_EQ(SplitText(EraseAll(SjisToEuc(file), "\r"), "\n").size(), 2u);
    EXPECT_EQ(ParseTableFile(file), (TextTable {{0, {"1001", "1"}}, {1, {"1002", "7"}}}));
    EXPECT_EQ(StepByStepRead(file), ParseTableFile(file));
}

TEST(TableRead, QuotesAndCommasInsideCharactersAreNoBoundaries)
{
    struct Case {
        const char* what;
        std::string file;
        TextTable expected;
    } const cases[] = {
        {"second byte is the quote", "\"a\x81\",\"b\"\r\n", {{0, {"a\x81\",\"b"}}}},
        {"an even run of high bytes before the quote", "\"\x81\x81\",\"b\"\r\n", {{0, {"\x81\x81", "b"}}}},
        {"an odd run of high bytes before the quote", "\"\x81\x81\x81\",\"b\"\r\n", {{0, {"\x81\x81\x81\",\"b"}}}},
        {"a long even run", "\"" + std::string(26, '\x88') + "\",\"b\"\n", {{0, {std::string(26, '\x88'), "b"}}}},
        {"a long odd run", "\"x" + std::string(27, '\x88') + "\",\"b\"\n", {{0, {"x" + std::string(27, '\x88') + "\",\"b"}}}},
        {"a second byte below 0x80 ends the run", "\"\x81" "A\x82\x40\",\"b\"\n", {{0, {"\x81" "A\x82\x40", "b"}}}},
        {"0x7F after a JIS first byte reads as 0x7E", "\"\x81\x7F\",\"\xE0\x7F\",\"\xA5\x7F\"\n",
         {{0, {"\x81\x7E", "\xE0\x7E", "\xA5\x7F"}}}},
        {"the cells' bytes decide, not the line's", "\x81\",\"b\"\n", {{0, {"", "b"}}}},
        {"a lone first byte before the closing quote stays", "\"ab\x85\"\r\n", {{0, {"ab\x85"}}}},
        {"a CR inside a character's place is dropped first", "\"\x85\rk\"\n", {{0, {"\x85k"}}}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ParseTableFile(c.file), c.expected) << c.what;
}

TEST(TableRead, RowsOutliveTheirTableAndChangeAlone)
{
    TextRow kept;
    TextTable copy;
    {
        TextTable table = ParseTableFile(std::string("\"k1\",\"q\x82\xA0\"\r\n\"k2\",\"5\"\r\n"));
        kept = table.at(0);
        copy = table;
        table.at(1)[1] = "6";
        EXPECT_EQ(table.at(1), (TextRow {"k2", "6"}));
        EXPECT_EQ(copy.at(1), (TextRow {"k2", "5"}));
    }
    // The table and the file's bytes it read are gone; the copies hold on.
    EXPECT_EQ(kept, (TextRow {"k1", "q\x82\xA0"}));
    EXPECT_EQ(kept.Cell(1), "q\x82\xA0");
    EXPECT_EQ(copy.at(0)[0], "k1");
    copy.at(0).push_back("x");
    EXPECT_EQ(copy.at(0), (TextRow {"k1", "q\x82\xA0", "x"}));
    EXPECT_EQ(kept.size(), 2u);

    // A row moved from is empty, whichever form it had.
    TextRow moved = std::move(kept);
    EXPECT_TRUE(kept.empty());
    EXPECT_EQ(moved.Cell(0), "k1");
    TextRow plain {"a"};
    TextRow taken = std::move(plain);
    EXPECT_EQ(plain.size(), 0u);
    EXPECT_EQ(taken, (TextRow {"a"}));
}

TEST(TableRead, ReadsFilesThroughTheSameRule)
{
    WorkFolder folder;
    std::mt19937 random(3);
    for (int i = 0; i < 30; ++i) {
        const std::string file = i % 2 ? AnyBytes(random) : WellFormedFile(random);
        folder.Write("t.dat", file);
        const TextTable table = LoadTextTable("t.dat");
        ASSERT_EQ(table, ForwardRead(file)) << Shown(file);
        WriteTextFile(TableToText(table), "w.dat");
        ASSERT_EQ(LoadTextTable("w.dat"), table) << Shown(file);
    }
}

TEST(TableRead, AroundNulsOnlyTheLinesHoldingOneAreLost)
{
    std::mt19937 random(29);
    for (int i = 0; i < 20000; ++i) {
        const std::string file = i % 2 ? AnyBytes(random) : WellFormedFile(random);
        ASSERT_EQ(ParseTableFileAroundNul(std::string(file)), AroundNulRead(file)) << Shown(file);
    }
    // One bad byte in a row, and a block of zeros over two line ends: the
    // rows around them keep their numbers.
    using namespace std::string_literals;
    const std::string file = "\"h\",\"n\"\r\n\"K1\",\"3\"\r\n\"K2\",\"\0\"\r\n\"K3\",\"9\"\r\n\"K4\","s + std::string(20, '\0')
                             + "\",\"1\"\r\n\"K6\",\"4\"\r\n" + std::string(5, '\0');
    std::size_t spoiled = 0;
    EXPECT_EQ(ParseTableFileAroundNul(std::string(file), &spoiled),
              (TextTable {{0, {"h", "n"}}, {1, {"K1", "3"}}, {3, {"K3", "9"}}, {5, {"K6", "4"}}}));
    EXPECT_EQ(spoiled, 2u);
    EXPECT_EQ(ParseTableFile(file), (TextTable {{0, {"h", "n"}}, {1, {"K1", "3"}}}));
}

} // namespace
