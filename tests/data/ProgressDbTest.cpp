#include "data/DataTexts.h"
#include "data/ProgressDb.h"
#include "data/ToiBank.h"
#include "text/SafeFile.h"

#include "support/WorkFolder.h"
#include "support/WriteProgress.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>

namespace {

using namespace DataTexts;

// Each test runs in a fresh working folder of its own, where the databases
// live under their real names.
class ProgressFiles : public ::testing::Test {
protected:

    void Put(const std::string& name, const std::string& bytes) const { folder_.Write(name, bytes); }
    std::string Get(const std::string& name) const { return folder_.Read(name); }
    static bool IsFolder(const std::string& name)
    {
        struct stat st {};
        return ::stat(name.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
    }

private:
    WorkFolder folder_;
};

// A bank of n questions keyed "K1" .. "Kn", every row of eight cells.
TextTable Bank(std::int32_t n)
{
    TextTable bank;
    bank[0] = {"key", "text", "kaisetu", "seikai", "choices", "labels", "pic", "kpic"};
    for (std::int32_t row = 1; row <= n; ++row)
        bank[row] = {"K" + IntToText(row), "Q", "E", "1", "2", "0", "0", "0"};
    return bank;
}

TextTable SeikaiFile(const std::vector<std::pair<std::string, std::string>>& rows)
{
    TextTable table;
    table[0] = {kToiKey, kToiSeikaiCount};
    std::int32_t row = 1;
    for (const auto& [key, count] : rows)
        table[row++] = {key, count};
    return table;
}

std::string ListOf(std::int32_t from, std::int32_t to)
{
    std::string text;
    for (std::int32_t i = from; i <= to; ++i)
        text += (i > from ? "<%>" : "") + IntToText(i);
    return text;
}

// ------------------------------------------------------------ built tables

TEST(ProgressBuild, StageTableHasOneRowPerFullStage)
{
    struct Case {
        std::int32_t bankRows, stages;
    } const cases[] = {{0, 0}, {1, 0}, {20, 0}, {21, 1}, {40, 1}, {41, 2}, {46, 2}, {61, 3}};
    for (const auto& c : cases) {
        TextTable table = BuildStageTable(c.bankRows);
        ASSERT_EQ(table.size(), static_cast<std::size_t>(c.stages) + 1) << c.bankRows;
        EXPECT_EQ(table[0], (TextRow {kStageSeikai, kStageToi}));
        for (std::int32_t s = 1; s <= c.stages; ++s)
            EXPECT_EQ(table[s], (TextRow {"0", "0"})) << c.bankRows << " " << s;
    }
}

TEST(ProgressBuild, EmptySlotsListEveryQuestionAndEveryStage)
{
    struct Case {
        std::int32_t bankRows;
        std::string list, stages;
    } const cases[] = {
        {46, ListOf(1, 45), "0<%>0<$>0<%>0"},
        {20, ListOf(1, 19), ""},
        {21, ListOf(1, 20), "0<%>0"},
        {2, "1", ""},
        {1, "", ""},
        {0, "", ""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(EmptySlotRow(c.bankRows), (TextRow {kPlayNormal, c.list, "0", c.stages, "0", kNewData, "5", "3"}))
            << c.bankRows;
        TextTable table = BuildEmptySaveTable(c.bankRows);
        ASSERT_EQ(table.size(), 10u);
        EXPECT_EQ(table[0], (TextRow {kHeadPlayMode, kHeadToiList, kHeadToiIndex, kHeadStageTable, kHeadEmpty,
                                      kHeadDate, kHeadNanwido, kHeadNokori}));
        for (std::int32_t slot = 1; slot <= kSlotCount; ++slot)
            EXPECT_EQ(table[slot], EmptySlotRow(c.bankRows)) << slot;
    }
}

TEST(ProgressBuild, SeikaiTableFollowsTheBankAndCarriesCountsByKey)
{
    TextTable bank = Bank(4);
    TextTable built = BuildSeikaiTable(bank);
    EXPECT_EQ(built, SeikaiFile({{"K1", "0"}, {"K2", "0"}, {"K3", "0"}, {"K4", "0"}}));

    // The old table in another order, with a key twice, a key the bank lost
    // (kept after the bank's rows, once), a short row and a header that holds
    // a bank key.
    TextTable old = SeikaiFile({{"K3", "7"}, {"K1", "2"}, {"K3", "9"}, {"gone", "5"}, {"gone", "8"}});
    old[0] = {"K2", "99"};
    old[6] = {"K4"};
    EXPECT_EQ(BuildSeikaiTable(bank, &old),
              SeikaiFile({{"K1", "2"}, {"K2", "0"}, {"K3", "7"}, {"K4", "0"}, {"gone", "5"}}));
    // A bank that holds every counted key gets exactly its own rows.
    TextTable full = SeikaiFile({{"K4", "1"}, {"K3", "2"}});
    EXPECT_EQ(BuildSeikaiTable(bank, &full), SeikaiFile({{"K1", "0"}, {"K2", "0"}, {"K3", "2"}, {"K4", "1"}}));
}

// ---------------------------------------------------------------- loading

TEST_F(ProgressFiles, FortyFiveQuestionsWithoutDatabases)
{
    ProgressData data = LoadProgress(Bank(45));
    EXPECT_EQ(data.Nanwido, 5);
    ASSERT_EQ(data.ToiSeikaiTable.size(), 46u);
    EXPECT_EQ(data.ToiSeikaiTable[0], (TextRow {kToiKey, kToiSeikaiCount}));
    for (std::int32_t row = 1; row <= 45; ++row)
        EXPECT_EQ(data.ToiSeikaiTable[row], (TextRow {"K" + IntToText(row), "0"}));
    EXPECT_EQ(data.StageTable, BuildStageTable(46));
    EXPECT_EQ(data.StageTable.size(), 3u);
    ASSERT_EQ(data.SaveLoadTable.size(), 10u);
    for (std::int32_t slot = 1; slot <= 9; ++slot) {
        EXPECT_EQ(TableCell(data.SaveLoadTable, slot, 1), ListOf(1, 45));
        EXPECT_EQ(TableCell(data.SaveLoadTable, slot, 3), "0<%>0<$>0<%>0");
    }
    EXPECT_TRUE(data.writeNanwido && data.writeSeikai && data.writeSaveLoad);
    EXPECT_TRUE(data.unreadable.empty());
}

TEST_F(ProgressFiles, NineteenQuestionsHaveNoStage)
{
    ProgressData data = LoadProgress(Bank(19));
    EXPECT_EQ(data.StageTable.size(), 1u);
    for (std::int32_t slot = 1; slot <= 9; ++slot)
        EXPECT_EQ(TableCell(data.SaveLoadTable, slot, 3), "");
    EXPECT_EQ(data.ToiSeikaiTable.size(), 20u);
}

TEST_F(ProgressFiles, DifficultyFromTheFile)
{
    struct Case {
        std::string bytes;
        std::int32_t nanwido;
    } const cases[] = {
        {"7", 5}, {"-1", 5}, {"abc", 5}, {"", 5}, {"  ", 5}, {"-", 5}, {"99999999999", 5},
        {"0", 0}, {"3", 3}, {"5", 5}, {" 2\r\n", 2}, {"+1", 1}, {"4x", 4}, {"-0", 0},
    };
    for (const auto& c : cases) {
        Put(kNanwidoFileName, c.bytes);
        ProgressData data = LoadProgress(Bank(3));
        EXPECT_EQ(data.Nanwido, c.nanwido) << "\"" << c.bytes << "\"";
        EXPECT_TRUE(data.writeNanwido);
    }
}

TEST_F(ProgressFiles, ReplacedQuestionKeepsCountsByRow)
{
    // Same row count, question 2 replaced: the table is used as loaded.
    TextTable old = SeikaiFile({{"K1", "4"}, {"OLD", "6"}, {"K3", "1"}});
    WriteTextFile(TableToText(old), kSeikaiFileName);
    ProgressData data = LoadProgress(Bank(3));
    EXPECT_EQ(data.ToiSeikaiTable, old);
    EXPECT_TRUE(data.writeSeikai);
}

TEST_F(ProgressFiles, AddedQuestionCarriesCountsByKey)
{
    WriteTextFile(TableToText(SeikaiFile({{"K1", "4"}, {"K2", "6"}, {"K3", "1"}})), kSeikaiFileName);
    TextTable bank = Bank(4);
    bank[1][0] = "NEW"; // and a question whose key is new
    ProgressData data = LoadProgress(bank);
    EXPECT_EQ(data.ToiSeikaiTable, SeikaiFile({{"NEW", "0"}, {"K2", "6"}, {"K3", "1"}, {"K4", "0"}, {"K1", "4"}}));
    EXPECT_TRUE(data.writeSeikai);
}

TEST_F(ProgressFiles, RemovedQuestionKeepsItsCountUntilItComesBack)
{
    // A shorter bank (half copied, an author's test bank) must not erase the
    // counts of the questions it lacks.
    WriteTextFile(TableToText(SeikaiFile({{"K1", "4"}, {"K2", "6"}, {"K3", "1"}})), kSeikaiFileName);
    TextTable bank = Bank(2);
    bank[2][0] = "K3";
    ProgressData shorter = LoadProgress(bank);
    EXPECT_EQ(shorter.ToiSeikaiTable, SeikaiFile({{"K1", "4"}, {"K3", "1"}, {"K2", "6"}}));
    // Weak-point mode lists only the bank's questions.
    WriteProgress(shorter);
    // The full bank again: every count is back in its row, and the file is
    // byte for byte what a bank with those counts always wrote.
    ProgressData back = LoadProgress(Bank(3));
    EXPECT_EQ(back.ToiSeikaiTable, SeikaiFile({{"K1", "4"}, {"K2", "6"}, {"K3", "1"}}));
    WriteProgress(back);
    EXPECT_EQ(Get(kSeikaiFileName), ReplaceAll(TableToText(SeikaiFile({{"K1", "4"}, {"K2", "6"}, {"K3", "1"}})), "\n", "\r\n"));
}

TEST_F(ProgressFiles, ShortCountRowsGetACountCell)
{
    Put(kSeikaiFileName, "\"h\",\"h\"\r\n\"K1\"\r\n\r\n\"K3\",\"2\"\r\n");
    ProgressData data = LoadProgress(Bank(3));
    EXPECT_EQ(data.ToiSeikaiTable, (TextTable {{0, {"h", "h"}}, {1, {"K1", "0"}}, {2, {"", "0"}}, {3, {"K3", "2"}}}));
}

TEST_F(ProgressFiles, SaveSlotsAreUsedAsLoaded)
{
    TextTable slots {{0, {"h"}}, {1, {"RAND", "3<%>1<%>2", "1"}}, {2, {""}}};
    WriteTextFile(TableToText(slots), kSaveLoadFileName);
    EXPECT_EQ(LoadProgress(Bank(3)).SaveLoadTable, slots);

    // An empty file holds no slot: it gets the nine empty ones.
    Put(kSaveLoadFileName, "");
    ProgressData data = LoadProgress(Bank(3));
    EXPECT_EQ(data.SaveLoadTable, BuildEmptySaveTable(4));
    EXPECT_TRUE(data.writeSaveLoad);
}

// A database name that exists but cannot be read: the drill gets a built
// table and the close leaves the name alone.
class ProgressUnreadable : public ProgressFiles, public ::testing::WithParamInterface<const char*> {};

TEST_P(ProgressUnreadable, IsBuiltInMemoryAndNeverWritten)
{
    const std::string name = GetParam();
    ASSERT_EQ(::mkdir(name.c_str(), 0755), 0);
    Put(name + "/inside", "not a database");
    // The other two files hold real data.
    TextTable counts = SeikaiFile({{"K1", "3"}, {"K2", "1"}});
    TextTable slots = BuildEmptySaveTable(3);
    slots[4][4] = "1";
    if (name != kSeikaiFileName)
        WriteTextFile(TableToText(counts), kSeikaiFileName);
    if (name != kSaveLoadFileName)
        WriteTextFile(TableToText(slots), kSaveLoadFileName);
    if (name != kNanwidoFileName)
        WriteTextFile("2", kNanwidoFileName);

    ProgressData data = LoadProgress(Bank(2));
    ASSERT_EQ(data.unreadable.size(), 1u);
    EXPECT_EQ(data.unreadable[0].fileName, name);
    EXPECT_EQ(data.unreadable[0].reason.step, FileStep::NotRegular);
    EXPECT_EQ(FileReason(data.unreadable[0].reason), "フォルダです");
    EXPECT_EQ(data.writeSeikai, name != kSeikaiFileName);
    EXPECT_EQ(data.writeSaveLoad, name != kSaveLoadFileName);
    EXPECT_EQ(data.writeNanwido, name != kNanwidoFileName);
    EXPECT_EQ(data.ToiSeikaiTable, name == kSeikaiFileName ? BuildSeikaiTable(Bank(2)) : counts);
    EXPECT_EQ(data.SaveLoadTable, name == kSaveLoadFileName ? BuildEmptySaveTable(3) : slots);
    EXPECT_EQ(data.Nanwido, name == kNanwidoFileName ? 5 : 2);

    data.Nanwido = kNanwidoB;
    WriteProgress(data); // would end the process if it tried the folder
    EXPECT_TRUE(IsFolder(name));
    EXPECT_TRUE(DataFileExists(name + "/inside"));
    if (name != kNanwidoFileName) {
        EXPECT_EQ(Get(kNanwidoFileName), "1");
    }
}

INSTANTIATE_TEST_SUITE_P(EachDatabase, ProgressUnreadable,
                         ::testing::Values(kSeikaiFileName, kSaveLoadFileName, kNanwidoFileName),
                         [](const ::testing::TestParamInfo<const char*>& info) {
                             std::string name = info.param;
                             return name.substr(0, name.find('.'));
                         });

TEST_F(ProgressFiles, AFifoIsUnreadableToo)
{
    ASSERT_EQ(::mkfifo(kSaveLoadFileName, 0644), 0);
    ProgressData data = LoadProgress(Bank(2));
    ASSERT_EQ(data.unreadable.size(), 1u);
    EXPECT_EQ(FileReason(data.unreadable[0].reason), "通常のファイルではありません");
    EXPECT_FALSE(data.writeSaveLoad);
    EXPECT_EQ(data.SaveLoadTable, BuildEmptySaveTable(3));
}

TEST_F(ProgressFiles, HeaderOnlyBankLeavesTheCountsOnDisk)
{
    const std::string counts = TableToText(SeikaiFile({{"K1", "3"}, {"K2", "1"}}));
    WriteTextFile(counts, kSeikaiFileName);
    const std::string onDisk = Get(kSeikaiFileName);

    ProgressData data = LoadProgress(Bank(0));
    EXPECT_EQ(data.ToiSeikaiTable, SeikaiFile({}));
    EXPECT_FALSE(data.writeSeikai);
    EXPECT_EQ(data.StageTable.size(), 1u);
    EXPECT_EQ(data.SaveLoadTable, BuildEmptySaveTable(1));
    WriteProgress(data);
    EXPECT_EQ(Get(kSeikaiFileName), onDisk);
    EXPECT_EQ(Get(kNanwidoFileName), "5");
}

TEST_F(ProgressFiles, EmptyBankAndShortQuestionRowsLoad)
{
    ProgressData empty = LoadProgress(TextTable {});
    EXPECT_EQ(empty.ToiSeikaiTable, SeikaiFile({}));
    EXPECT_EQ(empty.StageTable.size(), 1u);
    EXPECT_EQ(TableCell(empty.SaveLoadTable, 1, 1), "");

    // Questions of one cell or none: keys read as far as they exist.
    TextTable bank {{0, {"h"}}, {1, {"A"}}, {2, {}}, {3, {"C", "q"}}};
    ProgressData data = LoadProgress(bank);
    EXPECT_EQ(data.ToiSeikaiTable, SeikaiFile({{"A", "0"}, {"", "0"}, {"C", "0"}}));
    EXPECT_EQ(TableCell(data.SaveLoadTable, 9, 1), "1<%>2<%>3");
}

// ---------------------------------------------------------------- writing

TEST_F(ProgressFiles, CloseWritesWhatTheNextStartReads)
{
    ProgressData data = LoadProgress(Bank(21));
    data.Nanwido = kNanwidoD;
    data.ToiSeikaiTable[2][1] = "8";
    data.SaveLoadTable[1] = {kPlayRand, "2<%>1", "1", "1<%>1", "1", "Sun Dec 06 19:42:55 2026", "3", "2"};
    WriteProgress(data);

    EXPECT_EQ(Get(kNanwidoFileName), "3");
    const std::string header = std::string("\"") + kToiKey + "\",\"" + kToiSeikaiCount + "\"\r\n";
    EXPECT_EQ(Get(kSeikaiFileName).substr(0, header.size()), header);
    ProgressData again = LoadProgress(Bank(21));
    EXPECT_EQ(again.Nanwido, 3);
    EXPECT_EQ(again.ToiSeikaiTable, data.ToiSeikaiTable);
    EXPECT_EQ(again.SaveLoadTable, data.SaveLoadTable);

    // Written again unchanged, every file is byte for byte the same.
    const std::string seikai = Get(kSeikaiFileName), slots = Get(kSaveLoadFileName);
    WriteProgress(again);
    EXPECT_EQ(Get(kSeikaiFileName), seikai);
    EXPECT_EQ(Get(kSaveLoadFileName), slots);
    EXPECT_EQ(Get(kNanwidoFileName), "3");
}

TEST_F(ProgressFiles, ClearedFlagsLeaveTheirFilesAlone)
{
    Put(kSeikaiFileName, "old counts");
    Put(kSaveLoadFileName, "old slots");
    Put(kNanwidoFileName, "old");
    WriteProgress(SeikaiFile({}), BuildEmptySaveTable(1), kNanwidoC, false, false, false);
    EXPECT_EQ(Get(kSeikaiFileName), "old counts");
    EXPECT_EQ(Get(kSaveLoadFileName), "old slots");
    EXPECT_EQ(Get(kNanwidoFileName), "old");
    WriteProgress(SeikaiFile({}), BuildEmptySaveTable(1), kNanwidoC, false, true, false);
    EXPECT_EQ(Get(kSeikaiFileName), "old counts");
    EXPECT_EQ(Get(kSaveLoadFileName), ReplaceAll(TableToText(BuildEmptySaveTable(1)), "\n", "\r\n"));
    EXPECT_EQ(Get(kNanwidoFileName), "old");
}

using ProgressFilesDeathTest = ProgressFiles;

// Each file is written on its own: a failure at the slots still writes the
// counts and the difficulty, and then the close ends with status 1.
TEST_F(ProgressFilesDeathTest, FailedSlotsStillWriteTheOtherTwoThenEnd)
{
    Put(kSeikaiFileName, "old counts");
    Put(kNanwidoFileName, "4");
    ASSERT_EQ(::mkdir(kSaveLoadFileName, 0755), 0);
    TextTable counts = SeikaiFile({{"K1", "1"}});
    EXPECT_EXIT(WriteProgress(counts, BuildEmptySaveTable(2), kNanwidoA, true, true, true), ::testing::ExitedWithCode(1),
                "ファイルをオープンできません");
    EXPECT_EQ(Get(kSeikaiFileName), ReplaceAll(TableToText(counts), "\n", "\r\n"));
    EXPECT_EQ(Get(kNanwidoFileName), "0");
}

TEST_F(ProgressFilesDeathTest, FailedCountsWriteKeepsItsOldBytesAndWritesTheRest)
{
    Put(kSaveLoadFileName, "old slots");
    Put(kNanwidoFileName, "4");
    Put(kSeikaiFileName, "old counts");
    ASSERT_EQ(::chmod(kSeikaiFileName, 0444), 0);
    EXPECT_EXIT(WriteProgress(SeikaiFile({}), BuildEmptySaveTable(2), kNanwidoA, true, true, true),
                ::testing::ExitedWithCode(1), "ファイルをオープンできません");
    EXPECT_EQ(Get(kSeikaiFileName), "old counts");
    EXPECT_EQ(Get(kSaveLoadFileName), ReplaceAll(TableToText(BuildEmptySaveTable(2)), "\n", "\r\n"));
    EXPECT_EQ(Get(kNanwidoFileName), "0");
}

} // namespace

namespace {

std::size_t LineEnds(const std::string& bytes)
{
    return static_cast<std::size_t>(std::count(bytes.begin(), bytes.end(), '\n'));
}

TEST_F(ProgressFiles, ALoneLeadByteAtALineEndLeavesTheNextCountAlone)
{
    // LF line ends, and the count of the first question ends in a lone
    // Shift_JIS lead byte: the next key keeps its count, across a close and
    // the next start.
    Put(kSeikaiFileName, std::string("\"h\",\"h\"\n\"K1\",\"1\x85\n\"K2\",\"7\"\n\"K3\",\"2\"\n"));
    ProgressData data = LoadProgress(Bank(3));
    EXPECT_EQ(data.ToiSeikaiTable, (TextTable {{0, {"h", "h"}}, {1, {"K1", "1"}}, {2, {"K2", "7"}}, {3, {"K3", "2"}}}));
    WriteProgress(data);
    EXPECT_EQ(LineEnds(Get(kSeikaiFileName)), 4u);
    EXPECT_EQ(LoadProgress(Bank(3)).ToiSeikaiTable, data.ToiSeikaiTable);

    // The same line in a file of another row count: the counts are carried
    // over by key, as the numbers they read as; K9, which the bank lacks,
    // keeps its count after the bank's rows.
    Put(kSeikaiFileName, std::string("\"h\",\"h\"\n\"K1\",\"1\x85\n\"K2\",\"7\"\n\"K3\",\"2 wins\"\n\"K9\",\"5\"\n"));
    data = LoadProgress(Bank(3));
    EXPECT_EQ(data.ToiSeikaiTable, SeikaiFile({{"K1", "1"}, {"K2", "7"}, {"K3", "2"}, {"K9", "5"}}));
    WriteProgress(data);
    EXPECT_EQ(LineEnds(Get(kSeikaiFileName)), 5u);
}

TEST_F(ProgressFiles, EverySaveSlotFileReadWritesBackAsRead)
{
    // Slot cells with lead bytes before quotes, commas, CR and LF, a CR in
    // a cell and a line without its end: whatever is read is written so
    // that the next start reads the same slots.
    const std::string hostile[] = {
        std::string("\"h\"\n\"RAND\",\"1<%>2\x81\",\"0\"\n\"NORMAL\",\"3\x85\n\"a\"\r\n"),
        std::string("\"h\"\r\n\"R\xE0\r\nAND\",\"1\",\"x\x9F,\"\r\n\"\x81\",\"2\"\r\n\"tail"),
        std::string("\"h\"\n\"\x85\"\n\"a\rb\",\"\xF5\x0A\"\n\n\n"),
    };
    for (const std::string& bytes : hostile) {
        Put(kSaveLoadFileName, bytes);
        ProgressData data = LoadProgress(Bank(3));
        WriteProgress(data);
        const std::string written = Get(kSaveLoadFileName);
        EXPECT_EQ(LineEnds(written), data.SaveLoadTable.size());
        EXPECT_EQ(LoadProgress(Bank(3)).SaveLoadTable, data.SaveLoadTable);
        WriteProgress(LoadProgress(Bank(3)));
        EXPECT_EQ(Get(kSaveLoadFileName), written);
    }
}

// ------------------------------------------------- what a folder can hold

TEST_F(ProgressFiles, ADatabaseWithANulByteIsNamedAndCopiedBeforeAnyWrite)
{
    // A bad byte in K2's count and a block of zeros over K4's end and K5's
    // start. The file is named, and its bytes kept beside it.
    using namespace std::string_literals;
    const std::string damaged = "\"h\",\"h\"\r\n\"K1\",\"3\"\r\n\"K2\",\"1\0\"\r\n\"K3\",\"9\"\r\n\"K4\",\"2"s
                                + std::string(4096, '\0') + "\"\r\n\"K6\",\"4\"\r\n\"K7\",\"5\"\r\n";
    Put(kSeikaiFileName, damaged);
    Put(std::string(kSeikaiFileName) + ".damaged", "an older copy");
    ProgressData data = LoadProgress(Bank(7));
    ASSERT_EQ(data.damaged.size(), 1u);
    EXPECT_EQ(data.damaged[0].fileName, kSeikaiFileName);
    EXPECT_EQ(data.damaged[0].copyName, std::string(kSeikaiFileName) + ".damaged-2");
    EXPECT_EQ(Get(data.damaged[0].copyName), damaged);
    EXPECT_EQ(Get(std::string(kSeikaiFileName) + ".damaged"), "an older copy");
    EXPECT_TRUE(data.writeSeikai);
    EXPECT_TRUE(data.damaged[0].rowsAfterKept);
    // Only the spoiled rows' counts are lost; the write replaces the file,
    // the copy stays.
    const TextTable expected =
        SeikaiFile({{"K1", "3"}, {"K2", "0"}, {"K3", "9"}, {"K4", "0"}, {"K5", "0"}, {"K6", "4"}, {"K7", "5"}});
    EXPECT_EQ(data.ToiSeikaiTable, expected);
    WriteProgress(data);
    EXPECT_EQ(Get(data.damaged[0].copyName), damaged);
    EXPECT_EQ(Get(kSeikaiFileName), TableToFileBytes(expected));

    // A difficulty file saved as UTF-16 is named too.
    Put(kNanwidoFileName, std::string("3\0", 2));
    ProgressData again = LoadProgress(Bank(7));
    ASSERT_EQ(again.damaged.size(), 1u);
    EXPECT_EQ(again.damaged[0].fileName, kNanwidoFileName);
    EXPECT_FALSE(again.damaged[0].rowsAfterKept);
    EXPECT_EQ(again.Nanwido, 3);
    EXPECT_EQ(again.ToiSeikaiTable, expected);
}

TEST_F(ProgressFiles, ADatabaseLinkOutOfTheFolderIsNamedAndNeverWritten)
{
    ASSERT_EQ(::mkdir("outside", 0755), 0);
    ASSERT_EQ(::mkdir("work", 0755), 0);
    Put("outside/important", "precious");
    ASSERT_EQ(::chdir("work"), 0);
    ASSERT_EQ(::symlink("../outside/important", kNanwidoFileName), 0);
    ASSERT_EQ(::symlink("../outside/missing", kSaveLoadFileName), 0);
    ProgressData data = LoadProgress(Bank(2));
    ASSERT_EQ(data.unreadable.size(), 2u);
    EXPECT_EQ(data.unreadable[0].fileName, kNanwidoFileName);
    EXPECT_EQ(FileReason(data.unreadable[0].reason), "フォルダの外を指すリンクです");
    EXPECT_FALSE(data.writeNanwido);
    EXPECT_FALSE(data.writeSaveLoad);
    data.Nanwido = kNanwidoB;
    WriteProgress(data); // would end the process if it tried a link
    ASSERT_EQ(::chdir(".."), 0);
    EXPECT_EQ(Get("outside/important"), "precious");
    EXPECT_FALSE(DataFileExists("outside/missing"));
    EXPECT_TRUE(DataFileExists(std::string("work/") + kSeikaiFileName));
}

TEST_F(ProgressFiles, AHugeDatabaseIsRefusedWithAReason)
{
    // Sparse: no disk is filled, but the file claims more than any real one.
    const int fd = ::open(kSaveLoadFileName, O_WRONLY | O_CREAT, 0644);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(::ftruncate(fd, static_cast<off_t>(kMaxReadBytes + 1)), 0);
    ::close(fd);
    ProgressData data = LoadProgress(Bank(2));
    ASSERT_EQ(data.unreadable.size(), 1u);
    EXPECT_EQ(FileReason(data.unreadable[0].reason), "ファイルが大きすぎます（256 MB まで）");
    EXPECT_FALSE(data.writeSaveLoad);
    EXPECT_EQ(data.SaveLoadTable, BuildEmptySaveTable(3));
}

} // namespace
