#include "data/ToiBank.h"
#include "data/MogiToi.h"

#include <gtest/gtest.h>

namespace {

// A bank as the file gives it: a header, a full question row, a row cut
// short after its answer, and a row made from an empty line.
TextTable ShortRowBank()
{
    return ParseTableFile("\"key\",\"text\",\"kaisetu\",\"ans\",\"n\",\"set\",\"pic\",\"kpic\"\r\n"
                          "\"123456\",\"A<$>B\",\"why\",\"2_4\",\"4\",\"1\",\"0\",\"1\",\"extra\"\r\n"
                          "\"77\",\"Q\",\"E\",\"yes\"\r\n"
                          "\r\n"
                          "\"last\",\"\",\"\",\"\",\"x\",\"\",\"\",\"\"\r\n");
}

TEST(ToiBank, CellsOfAFullRow)
{
    TextTable bank = ShortRowBank();
    EXPECT_EQ(TableCell(bank, 1, ToiColumn::Key), "123456");
    EXPECT_EQ(TableCell(bank, 1, ToiColumn::Text), "A<$>B");
    EXPECT_EQ(TableCell(bank, 1, ToiColumn::Seikai), "2_4");
    EXPECT_EQ(TextToInt(TableCell(bank, 1, ToiColumn::ChoiceCount)), 4);
    EXPECT_EQ(TextToInt(TableCell(bank, 1, ToiColumn::KaisetuPicture)), 1);
    // Cells after column 7 exist in the table; the optional ninth is the area.
    EXPECT_EQ(TableCell(bank, 1, ToiColumn::Count), "extra");
    EXPECT_EQ(TableCell(bank, 1, ToiColumn::Bunya), "extra");
    EXPECT_EQ(TableCell(bank, 1, ToiColumn::Kubun), "");
}

TEST(ToiBank, TheOptionalTenthColumnIsOneOfFourPaperGroups)
{
    const TextTable bank = ParseTableFile("\"k\",\"t\",\"e\",\"1\",\"4\",\"3\",\"0\",\"0\",\"a\",\"\x8A\x4A\x94\xAD\"\r\n"
                                          "\"1\",\"t\",\"e\",\"1\",\"4\",\"3\",\"0\",\"0\",\"a\",\"\x8A\x4A\x94\xAD\"\r\n");
    EXPECT_EQ(TableCell(bank, 1, ToiColumn::Bunya), "a");
    EXPECT_TRUE(MogiKubunNamed(TableCell(bank, 1, ToiColumn::Kubun))); // 開発
    for (const std::string_view name : kMogiKubunNames)
        EXPECT_TRUE(MogiKubunNamed(name));
    EXPECT_FALSE(MogiKubunNamed(""));
    EXPECT_FALSE(MogiKubunNamed("\x8A\x4A")); // 開 alone
}

TEST(ToiBank, MissingCellsRowsAndColumnsReadEmpty)
{
    TextTable bank = ShortRowBank();
    // A row cut short after column 3: a typed question with no pictures.
    EXPECT_EQ(TableCell(bank, 2, ToiColumn::Seikai), "yes");
    for (int column : {ToiColumn::ChoiceCount, ToiColumn::LabelSet, ToiColumn::ToiPicture,
                       ToiColumn::KaisetuPicture}) {
        EXPECT_EQ(TableCell(bank, 2, column), "") << column;
        EXPECT_EQ(TextToInt(TableCell(bank, 2, column)), 0) << column;
    }
    // The empty line is a row of one empty cell; the row after keeps number 4.
    EXPECT_EQ(TableCell(bank, 3, ToiColumn::Key), "");
    EXPECT_EQ(TableCell(bank, 3, ToiColumn::Seikai), "");
    EXPECT_EQ(TableCell(bank, 4, ToiColumn::Key), "last");
    // A word where a number belongs reads as 0.
    EXPECT_EQ(TextToInt(TableCell(bank, 4, ToiColumn::ChoiceCount)), 0);

    EXPECT_EQ(TableCell(bank, 5, ToiColumn::Key), "");
    EXPECT_EQ(TableCell(bank, -1, ToiColumn::Key), "");
    EXPECT_EQ(TableCell(bank, 1, -1), "");
    EXPECT_EQ(TableCell(bank, 1, 1000), "");
    EXPECT_EQ(TableCell(TextTable {}, 0, 0), "");
}

TEST(ToiBank, EveryLineMarkerOfACellIsALineBreak)
{
    struct Case { std::string cell, text; };
    const Case cases[] = {
        {"", ""},
        {"A<$>B", "A\r\nB"},
        {"<$><$>", "\r\n\r\n"},
        {"A<$>B<$><$>C<$>", "A\r\nB\r\n\r\nC\r\n"},
        {"<$", "<$"},
        {"$>", "$>"},
        {"<<$>>", "<\r\n>"},
        {"<$<$>>", "<$\r\n>"},                 // a marker made by the replacement is none
        {"a<%>b", "a<%>b"},                      // the list marker is no line break
        {"\x83\x5C<$>", "\x83\x5C\r\n"},         // ソ: its 0x5C trail byte stays
        {"\x82<$>a", "\x82\r\na"},               // a lone lead byte keeps the marker whole
    };
    for (const Case& c : cases)
        EXPECT_EQ(BankText(c.cell), c.text) << c.cell;
}

TEST(ToiBank, ToiCountIsTheRowsAfterTheHeader)
{
    EXPECT_EQ(ToiCount(TextTable {}), 0);
    EXPECT_EQ(ToiCount(TextTable {{0, {"header"}}}), 0);
    EXPECT_EQ(ToiCount(ShortRowBank()), 4);
    TextTable bank;
    for (std::int32_t row = 0; row <= 45; ++row)
        bank[row] = {IntToText(row)};
    EXPECT_EQ(ToiCount(bank), 45);
}

TEST(ToiBank, PictureFileNamesJoinNoneLetterKeyAndJpg)
{
    EXPECT_EQ(PictureFileName('m', "123456"), "NONEm123456.jpg");
    EXPECT_EQ(PictureFileName('k', "123456"), "NONEk123456.jpg");
    EXPECT_EQ(PictureFileName('m', "77"), "NONEm77.jpg");
    EXPECT_EQ(PictureFileName('k', ""), "NONEk.jpg");
}

} // namespace
