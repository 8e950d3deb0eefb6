// The files a run leaves in a folder of another user: the superuser gives
// every new one to the folder's owner; anyone else writes nothing there that
// the owner could not replace. A tool's output stays its writer's.
#include "text/SafeFile.h"

#include "support/WorkFolder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <grp.h>
#include <string>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {

constexpr uid_t kLearner = 65534;

std::vector<std::string> Entries()
{
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator("."))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

TEST(FolderOwnerFiles, ARootRunGivesEveryNewFileToTheFolderOwner)
{
    if (::geteuid() != 0)
        GTEST_SKIP() << "only the superuser can give a file to another user";
    WorkFolder folder;
    ASSERT_EQ(::chown(".", kLearner, kLearner), 0);
    const mode_t mask = ::umask(027);
    FileError error;
    EXPECT_TRUE(ReplaceFile("db_nanwido.dat", "5", &error)) << FileReason(error);
    EXPECT_TRUE(CreateNewFile("db_1toi_pr.dat.damaged", "x", &error)) << FileReason(error);
    {
        AppendFile journal;
        std::size_t written = 0;
        EXPECT_TRUE(journal.Open("db_kiroku.dat", &error)) << FileReason(error);
        EXPECT_TRUE(journal.Append("row\r\n", written, &error)) << FileReason(error);
    }
    EXPECT_TRUE(ReplaceFile("out.csv", "a", &error, NewFileOwner::Writer)) << FileReason(error);
    ::umask(mask);

    EXPECT_EQ(Entries(), (std::vector<std::string> {"db_1toi_pr.dat.damaged", "db_kiroku.dat", "db_nanwido.dat",
                                                    "out.csv"}));
    for (const char* name : {"db_nanwido.dat", "db_1toi_pr.dat.damaged", "db_kiroku.dat"}) {
        struct stat st {};
        ASSERT_EQ(::stat(name, &st), 0) << name;
        EXPECT_EQ(st.st_uid, kLearner) << name;
        EXPECT_EQ(st.st_gid, kLearner) << name;
        EXPECT_EQ(st.st_mode & 07777, 0640u) << name; // the umask's rule
    }
    EXPECT_EQ(folder.Read("db_kiroku.dat"), "row\r\n");
    struct stat tool {};
    ASSERT_EQ(::stat("out.csv", &tool), 0);
    EXPECT_EQ(tool.st_uid, 0u);
}

// What the other user's writes came to, one bit each when wrong.
enum Wrong : int {
    NewFileWritten = 1,
    OwnersFileReplaced = 2,
    CopyMade = 4,
    JournalMade = 8,
    OwnFolderRefused = 16,
    ToolOutputRefused = 32,
};

int WritesOfAnotherUser()
{
    FileError error;
    auto refused = [&error](bool written) { return !written && error.step == FileStep::OthersFolder; };
    int wrong = 0;
    if (!refused(ReplaceFile("db_nanwido.dat", "5", &error)))
        wrong |= NewFileWritten;
    if (!refused(ReplaceFile("theirs.dat", "new", &error)))
        wrong |= OwnersFileReplaced;
    if (!refused(CreateNewFile("db_1toi_pr.dat.damaged", "x", &error)))
        wrong |= CopyMade;
    AppendFile journal;
    if (!refused(journal.Open("db_kiroku.dat", &error)))
        wrong |= JournalMade;
    if (!ReplaceFile("own/db_nanwido.dat", "5", &error))
        wrong |= OwnFolderRefused;
    if (!ReplaceFile("out.csv", "a", &error, NewFileOwner::Writer))
        wrong |= ToolOutputRefused;
    return wrong;
}

TEST(FolderOwnerFiles, AnotherUserWritesNothingTheFolderOwnerCouldNotReplace)
{
    if (::geteuid() != 0)
        GTEST_SKIP() << "runs as a second user, which needs the superuser";
    WorkFolder folder;
    // The owner's folder lets everyone write; the other user has one of its own.
    ASSERT_EQ(::chmod(".", 0777), 0);
    folder.Write("theirs.dat", "old");
    ASSERT_EQ(::chmod("theirs.dat", 0666), 0);
    ASSERT_EQ(::mkdir("own", 0755), 0);
    ASSERT_EQ(::chown("own", kLearner, kLearner), 0);

    const pid_t child = ::fork();
    if (child == 0) {
        if (::setgroups(0, nullptr) != 0 || ::setgid(kLearner) != 0 || ::setuid(kLearner) != 0)
            ::_exit(99);
        ::_exit(WritesOfAnotherUser());
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0) << "wrong: bits of enum Wrong";

    EXPECT_EQ(Entries(), (std::vector<std::string> {"out.csv", "own", "theirs.dat"}));
    EXPECT_EQ(folder.Read("theirs.dat"), "old");
    EXPECT_EQ(folder.Read("own/db_nanwido.dat"), "5");
}

} // namespace
