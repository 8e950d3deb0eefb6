// The table reader line by line, as the bank tool reports from it: where
// each line and cell is, which CRs were dropped and where.
#include "text/Unit2.h"

#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <vector>

namespace {

struct ReadLine {
    TableLine line;
    std::vector<std::string> cells;
    std::vector<std::size_t> returnsAt;
};

std::vector<ReadLine> ReadLines(std::string bytes, bool mend = true)
{
    TableLineReader reader(bytes, mend);
    std::vector<ReadLine> lines;
    ReadLine read;
    std::vector<TextCellSpan> spans;
    while (reader.Next(read.line, spans, &read.returnsAt)) {
        for (const TextCellSpan& span : spans)
            read.cells.emplace_back(bytes, span.offset, span.length);
        lines.push_back(read);
        read = ReadLine();
        spans.clear();
    }
    return lines;
}

TEST(TableLine, EachLineTellsWhereItIsAndWhatWasDropped)
{
    struct Case {
        const char* name;
        std::string bytes;
        std::size_t start, length, innerReturns, endReturns;
        bool shortLine;
        std::vector<std::string> cells;
        std::vector<std::size_t> returnsAt;
    } const cases[] = {
        {"as written", "\"a\",\"b\"\r\n", 0, 7, 0, 1, false, {"a", "b"}, {}},
        {"LF alone", "\"a\"\n", 0, 3, 0, 0, false, {"a"}, {}},
        {"two CRs at the end", "\"a\"\r\r\n", 0, 3, 0, 2, false, {"a"}, {}},
        {"CRs inside, by their place in the squeezed line", "\"a\r\",\"\rb\"\r\n", 0, 7, 2, 1, false,
         {"a", "b"}, {2, 5}},
        {"empty", "\r\n", 0, 0, 0, 1, true, {""}, {}},
        {"one byte", "x\n", 0, 1, 0, 0, true, {""}, {}},
        {"a quote after a first byte is no boundary", "\"\x82\",\"b\"\r\n", 0, 7, 0, 1, false, {"\x82\",\"b"}, {}},
        {"a whole character before the boundary", "\"\x82\xA0\",\"b\"\r\n", 0, 8, 0, 1, false,
         {"\x82\xA0", "b"}, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::vector<ReadLine> lines = ReadLines(c.bytes);
        ASSERT_EQ(lines.size(), 1u);
        const ReadLine& read = lines[0];
        EXPECT_EQ(read.line.number, 1u);
        EXPECT_EQ(read.line.start, c.start);
        EXPECT_EQ(read.line.length, c.length);
        EXPECT_EQ(read.line.innerReturns, c.innerReturns);
        EXPECT_EQ(read.line.endReturns, c.endReturns);
        EXPECT_EQ(read.line.shortLine, c.shortLine);
        EXPECT_EQ(read.cells, c.cells);
        EXPECT_EQ(read.returnsAt, c.returnsAt);
    }
}

TEST(TableLine, LinesAreNumberedFromTheirStartAndTheRestIsNoLine)
{
    const std::string bytes = "\"a\"\r\n\"b\",\"c\"\r\n\"rest\"";
    std::string copy = bytes;
    TableLineReader reader(copy);
    TableLine line;
    std::vector<TextCellSpan> spans;
    ASSERT_TRUE(reader.Next(line, spans));
    EXPECT_EQ(line.number, 1u);
    ASSERT_TRUE(reader.Next(line, spans));
    EXPECT_EQ(line.number, 2u);
    EXPECT_EQ(line.start, 5u);
    EXPECT_EQ(line.firstCell, 1u);
    EXPECT_EQ(line.cellCount, 2u);
    EXPECT_FALSE(reader.Next(line, spans));
    EXPECT_EQ(bytes.substr(reader.RestStart()), "\"rest\"");
}

TEST(TableLine, UnmendedReadKeepsTheBytesAndCutsTheSameCells)
{
    for (const std::string bytes : {"\"\x88\x7F\",\"x\"\r\n", "\"a\x81\x7F\x82\xA0\"\r\n", "\"\x7F\"\r\n"}) {
        const std::vector<ReadLine> mended = ReadLines(bytes), asHeld = ReadLines(bytes, false);
        ASSERT_EQ(mended.size(), 1u);
        ASSERT_EQ(asHeld.size(), 1u);
        ASSERT_EQ(mended[0].cells.size(), asHeld[0].cells.size()) << bytes;
        std::string joined;
        for (std::size_t j = 0; j < asHeld[0].cells.size(); ++j) {
            EXPECT_EQ(mended[0].cells[j].size(), asHeld[0].cells[j].size()) << bytes;
            joined += (j ? "\",\"" : "") + asHeld[0].cells[j];
        }
        EXPECT_EQ("\"" + joined + "\"\r\n", bytes);
    }
    // Mended, a JIS row lead's second byte 0x7F reads as 0x7E.
    EXPECT_EQ(ReadLines("\"\x88\x7F\"\r\n")[0].cells[0], "\x88\x7E");
}

// A row held elsewhere than in a TextRow writes the same line.
struct ViewCells {
    std::vector<std::string_view> cells;
    std::size_t size() const { return cells.size(); }
    std::string_view Cell(std::size_t j) const { return cells[j]; }
};

TEST(TableLine, AnyCellsWriteTheLineATextRowWrites)
{
    const std::vector<TextRow> rows = {{"a", "b"}, {""}, {}, {"\x82\xA0", "<$>", "\"x\""}};
    for (const TextRow& row : rows) {
        ViewCells view;
        for (std::size_t j = 0; j < row.size(); ++j)
            view.cells.push_back(row.Cell(j));
        std::string fromRow = "x", fromView = "x";
        AppendTableLine(fromRow, row);
        AppendTableLine(fromView, view);
        EXPECT_EQ(fromView, fromRow);
        EXPECT_EQ(fromRow, "x" + (row.empty() ? std::string() : TableToFileBytes({{0, row}})));
    }
}

} // namespace
