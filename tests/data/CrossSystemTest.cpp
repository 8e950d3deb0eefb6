// The same files on Linux and on Windows: a bank written on Linux (by the
// bank tool, cross-system/toi_dq_basic3.dat) reads to the same table on
// every system, and the databases written from the same state are byte for
// byte the ones Linux writes (cross-system/db_*.dat), so each system reads
// what the other wrote. This suite runs on Linux and, cross-built, under Wine.
#include "data/DataTexts.h"
#include "data/ProgressDb.h"
#include "text/SjisCodec.h"

#include "support/WorkFolder.h"
#include "support/WriteProgress.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace {

using namespace DataTexts;

const std::string kFixtures = MIRETO_SOURCE_DIR "/tests/data/cross-system/";

std::string Fixture(const std::string& name)
{
    std::ifstream in(kFixtures + name, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

// The bank's rows as the tool was given them, in UTF-8.
const std::vector<std::vector<std::string>> kBankRows = {
    {"問キー", "問題文", "解説文", "正解", "選択肢数", "ラベル種類", "問題画像", "解説画像"},
    {"1001", "関係モデルで、表の行を一意に識別する属性の集合は？<$>1. 主キー<$>2. 外部キー<$>3. 候補キー",
     "主キーは「行を一意に識別する」ために選ばれた候補キー。外部キーは別の表の主キーを参照する。", "1", "3", "0",
     "0", "0"},
    {"1002", "SQL で表を作る文を半角で答えよ（例: \"SELECT\"）。", "CREATE TABLE は定義文。＼ や ～ も全角のまま。",
     "CREATE", "0", "0", "0", "0"},
    {"1003",
     "正規形について正しいものを選べ。<$>1. 第1正規形は繰返し項目を持たない<$>2. "
     "第2正規形は推移的関数従属を持たない<$>3. 第3正規形は推移的関数従属を持たない<$>4. BCNF は多値従属を持たない",
     "第2正規形は部分関数従属を持たない。第4正規形が多値従属を扱う。", "3", "4", "0", "0", "0"},
};

TEST(CrossSystem, ABankWrittenOnLinuxReadsToTheSameTable)
{
    const std::string bytes = Fixture(kToiFileName);
    ASSERT_EQ(bytes.size(), 706u) << "the fixture was not read whole";
    const TextTable bank = ParseTableFile(std::string(bytes));
    ASSERT_EQ(bank.size(), kBankRows.size());
    for (std::size_t r = 0; r < kBankRows.size(); ++r) {
        const TextRow& row = bank.at(static_cast<std::int32_t>(r));
        ASSERT_EQ(row.size(), kBankRows[r].size()) << "row " << r;
        for (std::size_t c = 0; c < row.size(); ++c) {
            const std::string sjis(row.Cell(c));
            const std::string utf8 = SjisToUtf8(sjis);
            EXPECT_EQ(utf8, kBankRows[r][c]) << r << "," << c;
            std::string back;
            EXPECT_TRUE(Utf8ToSjis(utf8, back)) << r << "," << c;
            EXPECT_EQ(back, sjis) << r << "," << c;
        }
    }
    // Written again, the table is the file's very bytes.
    EXPECT_EQ(TableToFileBytes(bank), bytes);
}

TEST(CrossSystem, DatabasesAreWrittenByteForByteAsLinuxWritesThem)
{
    WorkFolder folder;
    folder.Write(kToiFileName, Fixture(kToiFileName));
    const TextTable bank = LoadTextTable(kToiFileName);
    ProgressData data = LoadProgress(bank);
    // A learner's state: counts for two questions, difficulty Ｃ (3).
    data.ToiSeikaiTable.at(1)[1] = "2";
    data.ToiSeikaiTable.at(3)[1] = "5";
    data.Nanwido = kNanwidoD;
    WriteProgress(data);
    for (const char* name : {kSeikaiFileName, kSaveLoadFileName, kNanwidoFileName}) {
        SCOPED_TRACE(name);
        const std::string fromLinux = Fixture(name);
        ASSERT_FALSE(fromLinux.empty());
        EXPECT_EQ(folder.Read(name), fromLinux);
    }
}

TEST(CrossSystem, DatabasesWrittenOnLinuxLoadAndWriteBackUnchanged)
{
    WorkFolder folder;
    for (const char* name : {kToiFileName, kSeikaiFileName, kSaveLoadFileName, kNanwidoFileName})
        folder.Write(name, Fixture(name));
    const TextTable bank = LoadTextTable(kToiFileName);
    const ProgressData data = LoadProgress(bank);
    EXPECT_TRUE(data.unreadable.empty());
    EXPECT_EQ(data.Nanwido, 3);
    EXPECT_EQ(data.ToiSeikaiTable.at(3)[1], "5");
    WriteProgress(data);
    for (const char* name : {kSeikaiFileName, kSaveLoadFileName, kNanwidoFileName})
        EXPECT_EQ(folder.Read(name), Fixture(name)) << name;
}

} // namespace
