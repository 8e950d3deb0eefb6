// The lock file in the working folder: whatever someone planted under its
// name can neither block the start nor carry the lock (or a write) anywhere
// else; a folder that takes no files is told apart from a real failure.
#include "platform/SingleCopyLock.h"

#include "support/WorkFolder.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <functional>
#include <memory>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

using Lock = Platform::SingleCopyLock;
constexpr uid_t kNobody = 65534;

// An flock held on `path` by a descriptor of its own, as another process
// (or another user) would hold it.
struct HeldFile {
    explicit HeldFile(const std::string& path) : fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC))
    {
        EXPECT_GE(fd, 0) << path;
        EXPECT_EQ(::flock(fd, LOCK_EX | LOCK_NB), 0) << path;
    }
    ~HeldFile() { ::close(fd); }
    int fd;
};

void WriteFile(const std::string& path, const std::string& bytes, mode_t mode)
{
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, mode);
    ASSERT_GE(fd, 0) << path;
    ASSERT_EQ(::write(fd, bytes.data(), bytes.size()), static_cast<ssize_t>(bytes.size()));
    ::fchmod(fd, mode);
    ::close(fd);
}

struct Planted {
    const char* what;
    bool needsRoot;
    // Plants something under the lock's name; `outside` is a file beyond
    // the folder that it may lead to.
    std::function<void(const std::string& lockPath, const std::string& outside)> plant;
};

class PlantedLockName : public ::testing::TestWithParam<Planted> {};

TEST_P(PlantedLockName, NeitherBlocksNorRedirects)
{
    const Planted& planted = GetParam();
    if (planted.needsRoot && ::geteuid() != 0)
        GTEST_SKIP() << "making another user's file needs root";
    WorkFolder folder, elsewhere;
    const std::string outside = elsewhere.Path() + "/important";
    WriteFile(outside, "keep me", 0600);
    Lock lock("UniqueName", folder.Path());
    planted.plant(lock.Where(), outside);
    // Whatever was planted is held the whole time, as its planter would.
    std::unique_ptr<HeldFile> planterHold;
    struct stat st {};
    if (::stat(lock.Where().c_str(), &st) == 0 && S_ISREG(st.st_mode))
        planterHold = std::make_unique<HeldFile>(lock.Where());

    ASSERT_EQ(lock.Acquire(), Lock::Result::Held) << planted.what << ": " << lock.Problem();
    // The lock is now a file of this user in the folder itself.
    ASSERT_EQ(::lstat(lock.Where().c_str(), &st), 0);
    EXPECT_TRUE(S_ISREG(st.st_mode)) << planted.what;
    EXPECT_EQ(st.st_uid, ::geteuid()) << planted.what;
    EXPECT_EQ(st.st_mode & 077, 0u) << planted.what;
    // ...which keeps a second holder out, while the outside file is untouched.
    EXPECT_EQ(Lock("UniqueName", folder.Path()).Acquire(), Lock::Result::TakenByAnother) << planted.what;
    EXPECT_EQ(elsewhere.Read("important"), "keep me") << planted.what;
    EXPECT_FALSE(elsewhere.Exists("important.new")) << planted.what;
}

INSTANTIATE_TEST_SUITE_P(
    Planted, PlantedLockName,
    ::testing::Values(
        Planted{"a link to a held file outside", false,
                [](const std::string& lockPath, const std::string& outside) {
                    ASSERT_EQ(::symlink(outside.c_str(), lockPath.c_str()), 0);
                }},
        Planted{"a dangling link", false,
                [](const std::string& lockPath, const std::string& outside) {
                    ASSERT_EQ(::symlink((outside + ".new").c_str(), lockPath.c_str()), 0);
                }},
        Planted{"a FIFO", false,
                [](const std::string& lockPath, const std::string&) { ASSERT_EQ(::mkfifo(lockPath.c_str(), 0600), 0); }},
        Planted{"an empty folder", false,
                [](const std::string& lockPath, const std::string&) { ASSERT_EQ(::mkdir(lockPath.c_str(), 0700), 0); }},
        Planted{"an own file that others can open", false,
                [](const std::string& lockPath, const std::string&) { WriteFile(lockPath, "", 0644); }},
        Planted{"another user's file", true,
                [](const std::string& lockPath, const std::string&) {
                    WriteFile(lockPath, "", 0600);
                    ASSERT_EQ(::chown(lockPath.c_str(), kNobody, kNobody), 0);
                }}),
    [](const ::testing::TestParamInfo<Planted>& info) { return "Case" + std::to_string(info.index); });

// Runs `body` as a user that cannot write the folder: another user when
// this is root, this user with the folder made read-only otherwise.
int ExitCodeWithoutWriteAccess(const std::string& folder, const std::function<int()>& body)
{
    if (::geteuid() != 0)
        ::chmod(folder.c_str(), 0555);
    const pid_t child = ::fork();
    if (child == 0) {
        if (::geteuid() == 0 && (::setgid(kNobody) != 0 || ::setuid(kNobody) != 0))
            ::_exit(99);
        ::_exit(body());
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    ::chmod(folder.c_str(), 0700);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

TEST(SingleCopyLockFile, AFolderThatTakesNoFilesIsToldApart)
{
    WorkFolder folder;
    ::chmod(folder.Path().c_str(), 0755); // searchable by the other user
    const int code = ExitCodeWithoutWriteAccess(folder.Path(), [&] {
        Lock lock("UniqueName", folder.Path());
        return lock.Acquire() == Lock::Result::ReadOnlyFolder && lock.ErrorNumber() != 0 ? 0 : 1;
    });
    EXPECT_EQ(code, 0);
    EXPECT_FALSE(folder.Exists(".UniqueName.lock"));
}

} // namespace
