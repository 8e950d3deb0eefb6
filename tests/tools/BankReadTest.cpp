// The bank file read through the program's own table reader: cells cut as
// the program cuts them, problems named by the line and field it reads.
#include "BankTestRows.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

std::string Listed(const std::vector<BankProblem>& problems)
{
    std::string text;
    for (const BankProblem& p : problems)
        text += FormatProblem(p) + "\n";
    return text;
}

TEST(BankRead, CellsAndFieldsAreThoseOfTheProgramsReader)
{
    const std::string header = "\"k\",\"q\"\r\n";
    struct Case {
        const char* name;
        std::string line;
        TextRow cells;
        std::string problems;
    } const cases[] = {
        {"clean", "\"1\",\"\x82\xA0\"\r\n", {"1", "\x82\xA0"}, ""},
        {"a first byte before a boundary takes the quote", "\"\x82\",\"q\"\r\n", {"\x82\",\"q"},
         "t.dat:2:1: character 1: the byte 0x82 starts no Shift_JIS character\n"},
        {"a CR inside the second cell", "\"1\",\"q\rr\"\r\n", {"1", "qr"},
         "t.dat:2:2: a CR inside the line: the program drops it\n"},
        {"a second CR before the line end", "\"1\",\"q\"\r\r\n", {"1", "q"},
         "t.dat:2:2: a CR inside the line: the program drops it\n"},
        {"0x7F after a first byte is reported as the file holds it", "\"\x88\x7F\"\r\n", {"\x88\x7F"},
         "t.dat:2:1: character 1: the byte 0x88 starts no Shift_JIS character\n"
         "t.dat:2:1: character 2: a control character (0x7F)\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const BankRows bank = ParseBankBytes("t.dat", header + c.line);
        ASSERT_EQ(bank.rows.size(), 2u);
        EXPECT_EQ(bank.rows[1].cells, c.cells);
        EXPECT_EQ(Listed(bank.textProblems), c.problems);
        // Whatever the tool reports, the cells are what the program loads
        // (but for the 0x7F that the program mends).
        if (c.line.find('\x7F') == std::string::npos) {
            EXPECT_EQ(BankTable(bank), ParseTableFile(header + c.line));
        }
    }
}

TEST(BankRead, ALastLineWithoutItsEndIsCheckedButNoRow)
{
    const BankRows bank = ParseBankBytes("t.dat", "\"k\"\r\n\"\xB1\"\r");
    EXPECT_EQ(bank.rows.size(), 1u);
    EXPECT_EQ(Listed(bank.textProblems), "t.dat:2: the last line has no line end: the program drops it\n"
                                         "t.dat:2:1: a CR inside the line: the program drops it\n");
}

TEST(BankRead, ACleanBankIsReadInPlaceAndLeftAsItWas)
{
    std::string bytes = "\"k\",\"q\"\r\n\"1\",\"\x82\xA0<$>\x96\xE2\"\r\n";
    const std::string before = bytes;
    ProblemList problems;
    std::size_t rows = 0;
    ScanBankBytes("t.dat", bytes, problems, [&](const RowView& row) { rows += row.readable; });
    EXPECT_TRUE(problems.Empty());
    EXPECT_EQ(rows, 2u);
    EXPECT_EQ(bytes, before);
}

} // namespace
