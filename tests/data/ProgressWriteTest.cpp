// Writing the three databases while the program runs (stage ends) must not
// end the process: each file is written on its own, and the write tells
// every file that failed and why.
#include "data/DataTexts.h"
#include "data/ProgressDb.h"
#include "text/SafeFile.h"
#include "text/SystemReason.h"

#include "support/WorkFolder.h"
#include "support/FailingDisk.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

namespace {

using namespace DataTexts;

TextTable Counts(const std::string& count)
{
    return {{0, {kToiKey, kToiSeikaiCount}}, {1, {"K1", count}}};
}

std::string FileBytes(const std::string& text)
{
    return ReplaceAll(text, "\n", "\r\n");
}

class ProgressWrite : public ::testing::Test {
protected:
    void SetUp() override
    {
        folder.Write(kSeikaiFileName, "old counts");
        folder.Write(kSaveLoadFileName, "old slots");
        folder.Write(kNanwidoFileName, "4");
    }
    void ExpectOldFiles() const
    {
        EXPECT_EQ(folder.Read(kSeikaiFileName), "old counts");
        EXPECT_EQ(folder.Read(kSaveLoadFileName), "old slots");
        EXPECT_EQ(folder.Read(kNanwidoFileName), "4");
    }
    WorkFolder folder;
};

TEST_F(ProgressWrite, WritesTheThreeFilesAsTheCloseDoes)
{
    const ProgressWriteResult result = TryWriteProgress(Counts("3"), BuildEmptySaveTable(2), kNanwidoB, true, true, true);
    EXPECT_TRUE(result.ok);
    EXPECT_TRUE(result.failed.empty());
    EXPECT_EQ(folder.Read(kSeikaiFileName), FileBytes(TableToText(Counts("3"))));
    EXPECT_EQ(folder.Read(kSaveLoadFileName), FileBytes(TableToText(BuildEmptySaveTable(2))));
    EXPECT_EQ(folder.Read(kNanwidoFileName), "1");
}

TEST_F(ProgressWrite, FullDiskAtTheFirstFileKeepsEveryOldFile)
{
    SetWriteFault(WriteFault::Write, -1);
    const ProgressWriteResult result = TryWriteProgress(Counts("3"), BuildEmptySaveTable(2), kNanwidoB, true, true, true);
    SetWriteFault(WriteFault::None);
    EXPECT_FALSE(result.ok);
    ASSERT_EQ(result.failed.size(), 3u);
    EXPECT_EQ(result.failed[0].fileName, kSeikaiFileName);
    EXPECT_EQ(result.failed[1].fileName, kSaveLoadFileName);
    EXPECT_EQ(result.failed[2].fileName, kNanwidoFileName);
    EXPECT_EQ(FileReason(result.failed[0].error), "ディスクがいっぱいです");
    EXPECT_EQ(FailedWritesText(result), std::string(kSeikaiFileName) + "（ディスクがいっぱいです）、" +
                                            kSaveLoadFileName + "（ディスクがいっぱいです）、" + kNanwidoFileName +
                                            "（ディスクがいっぱいです）");
    ExpectOldFiles();
}

TEST_F(ProgressWrite, OneFileThatFailsDoesNotStopTheOthers)
{
    folder.Write(kSaveLoadFileName, "");
    ASSERT_EQ(::unlink(kSaveLoadFileName), 0);
    ASSERT_EQ(::mkdir(kSaveLoadFileName, 0755), 0);
    const ProgressWriteResult result = TryWriteProgress(Counts("3"), BuildEmptySaveTable(2), kNanwidoB, true, true, true);
    EXPECT_FALSE(result.ok);
    ASSERT_EQ(result.failed.size(), 1u);
    EXPECT_EQ(result.failed[0].fileName, kSaveLoadFileName);
    EXPECT_EQ(FileReason(result.failed[0].error), "フォルダです");
    // The counts before it and the difficulty after it are both new.
    EXPECT_EQ(folder.Read(kSeikaiFileName), FileBytes(TableToText(Counts("3"))));
    EXPECT_EQ(folder.Read(kNanwidoFileName), "1");
}

TEST_F(ProgressWrite, FilesUnreadableAtStartUpAreSkipped)
{
    const ProgressWriteResult skipped = TryWriteProgress(Counts("3"), BuildEmptySaveTable(2), kNanwidoB, false, false, false);
    EXPECT_TRUE(skipped.ok);
    ExpectOldFiles();
    // With the counts and slots skipped, a fault armed for one write hits
    // the difficulty.
    SetWriteFault(WriteFault::Rename, 1);
    const ProgressWriteResult result = TryWriteProgress(Counts("3"), BuildEmptySaveTable(2), kNanwidoB, false, false, true);
    SetWriteFault(WriteFault::None);
    EXPECT_FALSE(result.ok);
    ASSERT_EQ(result.failed.size(), 1u);
    EXPECT_EQ(result.failed[0].fileName, kNanwidoFileName);
    ExpectOldFiles();
}

} // namespace
