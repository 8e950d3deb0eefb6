// The mock exam's view of the bank and its mix table: which questions have
// the exam's format, the paper group of a row, and mogi_haibun.dat read with
// every line and number checked.
#include "data/MogiHaibun.h"
#include "data/MogiToi.h"
#include "text/Unit2.h"

#include "support/WorkFolder.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace {

// A bank row: key, text, explanation, answer, choices, label set, pictures,
// area, group.
TextRow Row(std::string seikai, std::string choices, std::string labels, std::string kubun = {})
{
    return {"K", "text", "k", seikai, choices, labels, "0", "0", "area", kubun};
}

TEST(MogiToi, ExamFormatIsOneOfFourChoicesLabelledAToE)
{
    const struct {
        TextRow row;
        bool exam;
    } cases[] = {
        {Row("1", "4", "3"), true},  {Row("4", "4", "3"), true},   {Row("2", "4", "0"), false},
        {Row("2", "5", "3"), false}, {Row("2", "3", "3"), false},  {Row("5", "4", "3"), false},
        {Row("1_3", "4", "3"), false}, {Row("", "4", "3"), false}, {Row("ア", "1", "3"), false},
        {Row("0", "4", "3"), false}, {{"K", "text", "k", "1", "4"}, false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(IsExamFormatToi(c.row), c.exam) << c.row[3] << " " << c.row[4] << " " << c.row.size();
}

TEST(MogiToi, GroupOfARowAndAnEmptyCellIsDatabase)
{
    EXPECT_EQ(MogiKubunOf(Row("1", "4", "3")), kKubunDatabase);
    EXPECT_EQ(MogiKubunOf({"K", "t", "k", "1", "4", "3", "0", "0", "area"}), kKubunDatabase);
    for (int k = 0; k < kMogiKubunCount; ++k)
        EXPECT_EQ(MogiKubunOf(Row("1", "4", "3", std::string(kMogiKubunNames[static_cast<std::size_t>(k)]))), k);
    EXPECT_EQ(MogiKubunOf(Row("1", "4", "3", Sjis("セキュリティ"))), kKubunSecurity);
    EXPECT_FALSE(MogiKubunOf(Row("1", "4", "3", Sjis("ネットワーク"))));
    EXPECT_FALSE(MogiKubunOf(Row("1", "4", "3", "x")));
}

const std::vector<std::string> kHeader = {"試験区分", "問題数"};

std::string Table(std::vector<std::vector<std::string>> rows)
{
    rows.insert(rows.begin(), kHeader);
    return TableFileText(rows);
}

TEST(MogiHaibun, TheMixEachLineCheckedAndTheDefaultWhenWrong)
{
    using P = MogiHaibunProblem;
    const MogiHaibun standard;
    const struct {
        std::string bytes;
        MogiHaibun mix;
        std::optional<P> problem;
        std::int32_t line = 0;
    } cases[] = {
        {Table({{"データベース", "19"}, {"セキュリティ", "3"}, {"基盤と信頼性", "2"}, {"開発", "1"}}), standard, {}},
        {Table({{"開発", "5"}, {"基盤と信頼性", "5"}, {"データベース", "10"}, {"セキュリティ", "5"}}),
         MogiHaibun {{10, 5, 5, 5}}, {}},
        {Table({{"データベース", "25"}, {"セキュリティ", "0"}, {"基盤と信頼性", "0"}, {"開発", "0"}}),
         MogiHaibun {{25, 0, 0, 0}}, {}},
        {TableFileText({{"区分", "問題数"}, {"データベース", "25"}}), standard, P::BadHeader, 1},
        {"", standard, P::BadHeader, 1},
        {Table({{"データベース", "19", "x"}}), standard, P::BadRow, 2},
        {Table({{"データベース", "19"}, {"ネットワーク", "3"}}), standard, P::UnknownKubun, 3},
        {Table({{"データベース", "19"}, {"データベース", "3"}}), standard, P::RepeatedKubun, 3},
        {Table({{"データベース", "-1"}}), standard, P::BadCount, 2},
        {Table({{"データベース", "19 "}}), standard, P::BadCount, 2},
        {Table({{"データベース", "26"}}), standard, P::BadCount, 2},
        {Table({{"データベース", ""}}), standard, P::BadCount, 2},
        {Table({{"データベース", "99999999999999999999"}}), standard, P::BadCount, 2},
        {Table({{"データベース", "19"}, {"セキュリティ", "3"}, {"開発", "3"}}), standard, P::MissingKubun},
        {Table({{"データベース", "19"}, {"セキュリティ", "3"}, {"基盤と信頼性", "2"}, {"開発", "2"}}), standard,
         P::BadTotal},
        {Table({{"データベース", "19"}}) + std::string(1, '\0'), standard, P::NulByte},
    };
    for (const auto& c : cases) {
        const MogiHaibunRead read = ParseMogiHaibun(c.bytes);
        EXPECT_EQ(read.haibun, c.mix) << c.bytes;
        ASSERT_EQ(read.warning.has_value(), c.problem.has_value()) << c.bytes;
        if (c.problem) {
            EXPECT_EQ(read.warning->problem, *c.problem) << c.bytes;
            EXPECT_EQ(read.warning->line, c.line) << c.bytes;
        }
    }
    // What the learner reads names the place and what is used instead.
    MogiHaibunWarning missingGroup;
    missingGroup.problem = P::MissingKubun;
    missingGroup.kubun = kKubunKiban;
    EXPECT_EQ(MogiHaibunWarningText(missingGroup),
              "mogi_haibun.dat に試験区分「基盤と信頼性」の行がありません。標準の配分（データベース 19、セキュリティ 3、"
              "基盤と信頼性 2、開発 1）で出題します。");
    EXPECT_EQ(ParseMogiHaibun(Table({{"データベース", "19"}, {"データベース", "3"}})).warning->line, 3);
    MogiHaibunWarning total;
    total.problem = P::BadTotal;
    total.total = 26;
    EXPECT_NE(MogiHaibunWarningText(total).find("合計が 25 ではなく 26 です"), std::string::npos);
}

TEST(MogiHaibun, TheFileMissingUnreadableOrShipped)
{
    WorkFolder folder;
    MogiHaibunRead read = ReadMogiHaibun();
    ASSERT_TRUE(read.warning);
    EXPECT_EQ(read.warning->problem, MogiHaibunProblem::Missing);
    EXPECT_EQ(read.haibun, MogiHaibun {});

    std::filesystem::create_directory(kMogiHaibunFileName);
    read = ReadMogiHaibun();
    ASSERT_TRUE(read.warning);
    EXPECT_EQ(read.warning->problem, MogiHaibunProblem::Unreadable);
    EXPECT_NE(MogiHaibunWarningText(*read.warning).find("を読めません"), std::string::npos);
    std::filesystem::remove(kMogiHaibunFileName);

    // The file the build ships beside the bank.
    std::string shipped;
    ASSERT_TRUE(ReadWholeFileChecked(MIRETO_SOURCE_DIR "/sample/mogi_haibun.dat", shipped));
    folder.Write(kMogiHaibunFileName, shipped);
    read = ReadMogiHaibun();
    EXPECT_FALSE(read.warning);
    EXPECT_EQ(read.haibun, (MogiHaibun {{19, 3, 2, 1}}));
}

} // namespace
