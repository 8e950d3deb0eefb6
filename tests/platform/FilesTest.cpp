// The file primitives under the safe-file layer, on both systems: a
// temporary beside the target replaces it whole, and every failure leaves
// the errno that names it.
#include "platform/Files.h"
#include "support/WorkFolder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <string>
#include <vector>

namespace {

bool WriteAll(int fd, const std::string& bytes)
{
    return Platform::WriteSome(fd, bytes.data(), bytes.size()) == static_cast<long long>(bytes.size());
}

std::string ReadAll(const std::string& path)
{
    const int fd = Platform::OpenForReading(path);
    if (fd < 0)
        return "<unreadable>";
    std::string bytes;
    char buffer[256];
    long long n;
    while ((n = Platform::ReadSome(fd, buffer, sizeof buffer)) > 0)
        bytes.append(buffer, static_cast<std::size_t>(n));
    Platform::CloseFile(fd);
    return bytes;
}

TEST(PlatformFiles, ATemporaryBesideReplacesTheFileWhole)
{
    WorkFolder folder;
    const std::string target = folder.Path() + "/db 山田.dat";
    folder.Write("db 山田.dat", "old\r\n");

    std::string temp;
    const int fd = Platform::CreateTemporaryBeside(target, temp);
    ASSERT_GE(fd, 0) << errno;
    EXPECT_EQ(temp.rfind(target + ".tmp-", 0), 0u) << temp;
    std::string other;
    const int second = Platform::CreateTemporaryBeside(target, other);
    ASSERT_GE(second, 0);
    EXPECT_NE(other, temp); // never the same name twice
    Platform::CloseFile(second);
    Platform::RemoveFile(other);

    ASSERT_TRUE(WriteAll(fd, std::string("new\r\n\0tail", 10)));
    EXPECT_TRUE(Platform::SyncFile(fd));
    EXPECT_TRUE(Platform::CloseFile(fd));
    EXPECT_EQ(ReadAll(target), "old\r\n"); // untouched until the replace
    ASSERT_TRUE(Platform::ReplaceFile(temp, target)) << errno;
    EXPECT_EQ(ReadAll(target), std::string("new\r\n\0tail", 10));
    EXPECT_FALSE(folder.Exists(temp.substr(folder.Path().size() + 1)));
}

TEST(PlatformFiles, WhatIsThereIsTold)
{
    WorkFolder folder;
    folder.Write("a.dat", "12345");
    Platform::FileKind kind;
    ASSERT_TRUE(Platform::Inspect(folder.Path() + "/a.dat", kind));
    EXPECT_TRUE(kind.regular);
    EXPECT_FALSE(kind.folder);
    EXPECT_TRUE(kind.writable);
    EXPECT_EQ(kind.size, 5u);
    EXPECT_TRUE(Platform::MayWrite(folder.Path() + "/a.dat"));

    ASSERT_TRUE(Platform::Inspect(folder.Path(), kind));
    EXPECT_TRUE(kind.folder);
    EXPECT_FALSE(kind.regular);

    errno = 0;
    EXPECT_FALSE(Platform::Inspect(folder.Path() + "/missing.dat", kind));
    EXPECT_EQ(errno, ENOENT);
}

TEST(PlatformFiles, AReadOnlyFileStaysUnwritable)
{
    WorkFolder folder;
    std::string temp;
    const int fd = Platform::CreateTemporaryBeside(folder.Path() + "/ro.dat", temp);
    ASSERT_GE(fd, 0);
    // The file it takes the place of was read-only, and this user's.
    Platform::FileKind readOnly;
    ASSERT_TRUE(Platform::Inspect(temp, readOnly));
    readOnly.mode = 0444;
    readOnly.writable = false;
    ASSERT_TRUE(Platform::TakeOwnerAndMode(fd, &readOnly));
    Platform::CloseFile(fd);
    Platform::FileKind kind;
    ASSERT_TRUE(Platform::Inspect(temp, kind));
    EXPECT_FALSE(kind.writable);
    EXPECT_EQ(kind.mode & 0222, 0u);
    EXPECT_NE(Platform::NewFileMode() & 0200, 0u); // a new file is the owner's to write
}

TEST(PlatformFiles, FailuresLeaveTheirErrno)
{
    WorkFolder folder;
    const std::string missing = folder.Path() + "/missing.dat";
    errno = 0;
    EXPECT_LT(Platform::OpenForReading(missing), 0);
    EXPECT_EQ(errno, ENOENT);
    errno = 0;
    EXPECT_LT(Platform::OpenForAppending(folder.Path() + "/no folder/k.dat"), 0);
    EXPECT_EQ(errno, ENOENT);
    folder.Write("there.dat", "x");
    errno = 0;
    EXPECT_LT(Platform::CreateNew(folder.Path() + "/there.dat"), 0); // never over a name in use
    EXPECT_EQ(errno, EEXIST);
    errno = 0;
    EXPECT_FALSE(Platform::ReplaceFile(missing, folder.Path() + "/b.dat"));
    EXPECT_EQ(errno, ENOENT);
    errno = 0;
    std::string temp;
    EXPECT_LT(Platform::CreateTemporaryBeside(folder.Path() + "/no folder/x.dat", temp), 0);
    EXPECT_EQ(errno, ENOENT);
    EXPECT_FALSE(Platform::RemoveFile(missing));
}

TEST(PlatformFiles, AppendingAddsAtTheEndAndNamesAreListed)
{
    WorkFolder folder;
    const std::string journal = folder.Path() + "/記録 1.dat";
    for (const char* row : {"a\r\n", "b\r\n"}) {
        const int fd = Platform::OpenForAppending(journal);
        ASSERT_GE(fd, 0) << errno;
        ASSERT_TRUE(WriteAll(fd, row));
        EXPECT_TRUE(Platform::SyncData(fd));
        Platform::CloseFile(fd);
    }
    EXPECT_EQ(ReadAll(journal), "a\r\nb\r\n");

    Platform::FileKind first, second;
    ASSERT_TRUE(Platform::Inspect(journal, first));
    ASSERT_TRUE(Platform::InspectLink(journal, second));
    EXPECT_FALSE(second.link);
    EXPECT_TRUE(first.mine);
    EXPECT_EQ(first.id, second.id);
    folder.Write("other.dat", "a\r\nb\r\n");
    ASSERT_TRUE(Platform::Inspect(folder.Path() + "/other.dat", second));
    EXPECT_FALSE(first.device == second.device && first.id == second.id); // same bytes, another file

    auto names = Platform::FolderNames(folder.Path());
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string> {"other.dat", "記録 1.dat"}));
    EXPECT_TRUE(Platform::FolderNames(folder.Path() + "/missing").empty());

    const std::string canonical = Platform::CanonicalPath(journal);
    ASSERT_FALSE(canonical.empty());
    EXPECT_EQ(canonical.substr(canonical.size() - std::string("記録 1.dat").size()), "記録 1.dat");
    EXPECT_EQ(canonical[canonical.size() - std::string("記録 1.dat").size() - 1], Platform::PathSeparator());
    EXPECT_TRUE(Platform::CanonicalPath(folder.Path() + "/missing.dat").empty());
}

} // namespace
