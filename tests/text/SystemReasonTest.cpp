#include "text/SafeFile.h"
#include "text/SystemReason.h"
#include "text/Unit2.h"
#include "platform/Errno.h"

#include "support/WorkFolder.h"
#include "support/FailingDisk.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <sys/stat.h>

namespace {

bool HasLatinLetter(const std::string& text)
{
    for (char c : text)
        if ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'))
            return true;
    return false;
}

TEST(SystemReason, RefusedAccessNamesWhatWasRefused)
{
    EXPECT_EQ(SystemReason(EACCES, FileUse::Read), "読み取りの権限がありません");
    EXPECT_EQ(SystemReason(EPERM, FileUse::Write), "書き込みの権限がありません");
    EXPECT_EQ(SystemReason(EDQUOT, FileUse::Write), "ディスクがいっぱいです");
    EXPECT_EQ(SystemReason(EROFS, FileUse::Write), "書き込みのできない場所です");
}

TEST(SystemReason, NoNumberGivesEnglishText)
{
    // Whatever the system reports, the learner reads Japanese; an unknown
    // number is at least named.
    for (int number = 1; number < 140; ++number) {
        for (FileUse use : {FileUse::Read, FileUse::Write}) {
            const std::string reason = SystemReason(number, use);
            EXPECT_FALSE(reason.empty()) << number;
            EXPECT_FALSE(HasLatinLetter(reason)) << number << ": " << reason;
        }
    }
    EXPECT_NE(SystemReason(4095, FileUse::Read).find("4095"), std::string::npos);
}

// The reasons the table reader and the safe writer really report, turned
// into Japanese.
class SystemReasonFiles : public ::testing::Test {
protected:
    WorkFolder folder;
};

TEST_F(SystemReasonFiles, ReaderReasonsInJapanese)
{
    std::string text;
    FileError error;
    ASSERT_EQ(::mkdir("folder.dat", 0755), 0);
    ASSERT_FALSE(ReadWholeFileChecked("folder.dat", text, &error));
    EXPECT_EQ(FileReason(error), "フォルダです");

    ASSERT_EQ(::mkfifo("fifo.dat", 0644), 0);
    ASSERT_FALSE(ReadWholeFileChecked("fifo.dat", text, &error));
    EXPECT_EQ(FileReason(error), "通常のファイルではありません");

    ASSERT_FALSE(ReadWholeFileChecked("missing.dat", text, &error));
    EXPECT_EQ(FileReason(error), "ファイルがありません");

    // The reason names the limit the file was read with.
    folder.Write("big.dat", std::string(kKiB + 1, 'x'));
    ASSERT_FALSE(ReadRegularFile("big.dat", text, &error, kKiB));
    EXPECT_EQ(FileReason(error), "ファイルが大きすぎます（1 KB まで）");
    ASSERT_FALSE(ReadRegularFile("big.dat", text, &error, 1000));
    EXPECT_EQ(FileReason(error), "ファイルが大きすぎます（1000 バイト まで）");
}

TEST_F(SystemReasonFiles, WriterReasonsInJapanese)
{
    const struct {
        WriteFault fault;
        const char* expected;
    } faults[] = {
        {WriteFault::Open, "ディスクがいっぱいです"},
        {WriteFault::Write, "ディスクがいっぱいです"},
        {WriteFault::Sync, "ディスクの読み書きに失敗しました"},
    };
    FileError error;
    for (const auto& f : faults) {
        SetWriteFault(f.fault);
        ASSERT_FALSE(TryWriteTextFile("x\n", "db.dat", &error));
        EXPECT_EQ(FileReason(error), f.expected);
    }

    ASSERT_FALSE(TryWriteTextFile("x\n", "no/such/folder/db.dat", &error));
    EXPECT_EQ(FileReason(error), "保存先のフォルダがありません");

    ASSERT_EQ(::mkdir("folder.dat", 0755), 0);
    ASSERT_FALSE(TryWriteTextFile("x\n", "folder.dat", &error));
    EXPECT_EQ(FileReason(error), "フォルダです");

    folder.Write("ro.dat", "old");
    ASSERT_EQ(::chmod("ro.dat", 0444), 0);
    ASSERT_FALSE(TryWriteTextFile("x\n", "ro.dat", &error));
    EXPECT_EQ(FileReason(error), "書き込みの権限がありません");

    // A step without a number still reads as Japanese.
    EXPECT_EQ(FileReason({FileStep::Write, 0}), "書き込めません");
    EXPECT_EQ(FileReason({FileStep::Read, 0}), "読み込めません");
}

TEST_F(SystemReasonFiles, DiskThatStaysFullFailsEveryWriteUntilDisarmed)
{
    SetWriteFault(WriteFault::Write, -1);
    for (int i = 0; i < 3; ++i)
        EXPECT_FALSE(TryWriteTextFile("x\n", "db.dat"));
    EXPECT_FALSE(folder.Exists("db.dat"));
    SetWriteFault(WriteFault::None);
    EXPECT_TRUE(TryWriteTextFile("x\n", "db.dat"));

    SetWriteFault(WriteFault::Write, 2);
    EXPECT_FALSE(TryWriteTextFile("y\n", "db.dat"));
    EXPECT_FALSE(TryWriteTextFile("y\n", "db.dat"));
    EXPECT_TRUE(TryWriteTextFile("y\n", "db.dat"));
    EXPECT_EQ(folder.Read("db.dat"), "y\r\n");
}

} // namespace
