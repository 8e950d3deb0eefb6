// Banks read a row at a time: the conversion tables against iconv, keys in
// any order, rows of megabytes, and CSV fields that cannot be taken from the
// source as they stand.
#include "BankTestRows.h"
#include "bank/JisTable.h"

#include "text/SjisCodec.h"

#include <gtest/gtest.h>

namespace {

const std::string kHeader = "問キー,問題文,解説文,正解,選択肢数,ラベル種類,問題画像,解説画像\n";

std::string Listing(const std::vector<BankProblem>& problems)
{
    std::string text;
    for (const BankProblem& p : problems)
        text += FormatProblem(p) + "\n";
    return text;
}

std::string Utf8Of(char32_t cp)
{
    std::string s;
    if (cp < 0x80) {
        s += static_cast<char>(cp);
    } else if (cp < 0x800) {
        s += static_cast<char>(0xC0 | cp >> 6);
        s += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        s += static_cast<char>(0xE0 | cp >> 12);
        s += static_cast<char>(0x80 | (cp >> 6 & 0x3F));
        s += static_cast<char>(0x80 | (cp & 0x3F));
    }
    return s;
}

// A cell of the given length in bytes, its characters varied by seed. No
// quote is followed by a comma, so no cell makes a cell boundary of its own.
std::string Filler(std::size_t bytes, unsigned seed)
{
    static const char* const kPieces[] = {"a", "\"", "\x82\xA0", ",", "<$>", " ", "\x8A\xBF", "7"}; // あ 漢
    std::string cell;
    while (cell.size() < bytes) {
        const std::string piece = kPieces[seed++ % 8];
        if (cell.size() + piece.size() > bytes)
            break;
        cell += piece;
    }
    return cell;
}

} // namespace

TEST(JisTable, EveryTwoByteCodeConvertsAsIconvDoes)
{
    int carried = 0;
    for (unsigned lead = 0x81; lead <= 0xFC; ++lead) {
        for (unsigned trail = 0x40; trail <= 0xFC; ++trail) {
            const std::string pair {static_cast<char>(lead), static_cast<char>(trail)};
            std::string utf8 = "x";
            const bool fast = AppendJisCellAsUtf8(pair, utf8);
            // Carried exactly when the cell check accepts the character.
            EXPECT_EQ(fast, SjisCellFaults(pair).empty()) << std::hex << lead << ' ' << trail;
            if (!fast) {
                EXPECT_EQ(utf8, "x"); // left as it was
                continue;
            }
            ++carried;
            EXPECT_EQ(utf8, "x" + SjisToUtf8(pair)) << std::hex << lead << ' ' << trail;
            std::string back = "y";
            ASSERT_TRUE(AppendUtf8AsJisCell(utf8.substr(1), back)) << std::hex << lead << ' ' << trail;
            EXPECT_EQ(back, "y" + pair);
        }
    }
    EXPECT_GT(carried, 6800); // JIS X 0208 holds 6879 characters
}

TEST(JisTable, EveryBmpCharacterEncodesAsIconvDoesOrIsLeftToIt)
{
    int carried = 0;
    for (char32_t cp = 0x20; cp <= 0xFFFF; ++cp) {
        if ((cp >= 0xD800 && cp <= 0xDFFF) || cp == 0x7F)
            continue;
        const std::string utf8 = Utf8Of(cp);
        std::string fast;
        if (!AppendUtf8AsJisCell(utf8, fast)) {
            // Declined only where the bank could not hold the character as it is.
            std::string cell;
            EXPECT_FALSE(Utf8FieldToCell(utf8, cell).empty()) << std::hex << static_cast<unsigned>(cp);
            continue;
        }
        ++carried;
        std::string slow;
        EXPECT_TRUE(Utf8ToSjis(utf8, slow));
        EXPECT_EQ(fast, slow) << std::hex << static_cast<unsigned>(cp);
    }
    EXPECT_GT(carried, 6800 + 90);
    // Malformed and overlong forms are left to the careful path.
    for (const std::string bad : {"\xC0\xAF", "\xE0\x80\xAF", "\xE3\x81", "\x81", "\xF0\x9F\x98\x80"}) {
        std::string out = "z";
        EXPECT_FALSE(AppendUtf8AsJisCell(bad, out));
        EXPECT_EQ(out, "z");
    }
    std::string cell = "x";
    EXPECT_FALSE(AppendJisCellAsUtf8("\x82\xA0\x82", cell)); // a lead byte cut off at the end
    EXPECT_EQ(cell, "x");
}

TEST(BankStream, KeysRepeatedInAnyOrderNameTheFirstUse)
{
    const char* const keys[] = {"9", "10", "010", "011", "10", "3", "9", "3", "12", "011"};
    std::string csv = kHeader;
    for (const char* key : keys)
        csv += std::string(key) + ",q,k,A,0,0,0,0\n";
    const BankRows bank = ParseCsvSources({{"a.csv", csv}});
    const std::vector<BankProblem> problems = AllProblems(bank, CheckBankContent(bank, {}));
    EXPECT_EQ(Listing(problems), "a.csv:6:1: the key 10 is also used at a.csv:3\n"
                                 "a.csv:8:1: the key 9 is also used at a.csv:2\n"
                                 "a.csv:9:1: the key 3 is also used at a.csv:7\n"
                                 "a.csv:11:1: the key 011 is also used at a.csv:5\n");
}

TEST(BankStream, RowsOfMegabytesReadAsTheirCells)
{
    // One row of many short cells, one of a few huge ones, one cell of
    // 900 kB, and ordinary rows around them.
    TextTable table;
    table[0] = {"h"};
    TextRow many;
    for (unsigned j = 0; j < 120000; ++j)
        many.push_back(Filler(j % 7, j));
    table[1] = many;
    table[2] = {"1", Filler(300000, 1), Filler(700000, 2), "x", "", Filler(270000, 3)};
    table[3] = {Filler(900000, 4)};
    table[4] = {"2", "q", "k", "A", "0", "0", "0", "0"};
    const std::string bytes = ReplaceAll(TableToText(table), "\n", "\r\n");
    ASSERT_GT(bytes.size(), 2u << 20);

    const BankRows bank = ParseBankBytes("t.dat", bytes);
    ASSERT_TRUE(bank.textProblems.empty()) << Listing(bank.textProblems).substr(0, 2000);
    EXPECT_EQ(BankTable(bank), table);

    // The CSV of the same rows reads back as them.
    std::string csv, error;
    ASSERT_TRUE(BankTableToCsv(table, csv, &error)) << error;
    const BankRows back = ParseCsvSources({{"t.csv", csv}});
    ASSERT_TRUE(back.textProblems.empty()) << Listing(back.textProblems).substr(0, 2000);
    EXPECT_EQ(BankTable(back), table);
}

TEST(BankStream, CsvFieldsThatAreRebuiltKeepTheirText)
{
    struct Case {
        std::string field;   // as written in the source
        std::string cell;    // Shift_JIS
        bool problem;
    };
    const std::vector<Case> cases = {
        {"\"a\"\"b\"\"\"", "a\"b\"", false},
        {"\"one\r\ntwo\nthree\"", "one<$>two<$>three", false},
        {"\"cr\ralone\"", "cr\ralone", true},          // a CR inside a quoted field is text, not a break
        {"\"ab\"cd", "abcd", true},                    // text after the closing quote is kept
        {"\"a\"\"b\"c\"d", "a\"bc\"d", true},
        {"ab\"c", "ab\"c", true},                      // a quote in an unquoted field
        {"\"\xE3\x81\x82\n\"", "\x82\xA0<$>", false},  // あ and a break
    };
    for (const Case& c : cases) {
        const BankRows bank = ParseCsvSources({{"a.csv", "h,i\n" + c.field + ",z\n"}});
        ASSERT_EQ(bank.rows.size(), 2u) << c.field;
        EXPECT_EQ(bank.rows[1].cells, (TextRow {c.cell, "z"})) << c.field;
        EXPECT_EQ(bank.textProblems.empty(), !c.problem) << c.field << "\n" << Listing(bank.textProblems);
    }
    // An unclosed quote takes the rest of the source into the field.
    const BankRows open = ParseCsvSources({{"a.csv", "h\n\"x,\ny"}});
    ASSERT_EQ(open.rows.size(), 2u);
    EXPECT_EQ(open.rows[1].cells, TextRow {"x,<$>y"});
}

TEST(BankStream, ExportedLinesMatchOnlyTheirOwnCells)
{
    std::string buffer = "ab\"c";
    std::vector<std::uint32_t> starts = {0, 1, 2, 4};
    const CellsView cells(buffer.data(), &starts, 0); // a, b, "c
    EXPECT_TRUE(CellsJoinTo(cells, "a\",\"b\",\"\"c"));
    EXPECT_FALSE(CellsJoinTo(cells, "a\",\"b\",\"\"c\",\""));
    EXPECT_FALSE(CellsJoinTo(cells, "a\",\"b\",\"\"d"));
    EXPECT_FALSE(CellsJoinTo(cells, "a\",\"b"));
    EXPECT_FALSE(CellsJoinTo(cells, "a,b,\"c"));
    std::vector<std::uint32_t> one = {0, 0};
    EXPECT_TRUE(CellsJoinTo(CellsView(buffer.data(), &one, 0), ""));
    EXPECT_FALSE(CellsJoinTo(CellsView(buffer.data(), &one, 0), "\",\""));
}
