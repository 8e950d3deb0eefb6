#include "text/SafeFile.h"

#include "text/FileCalls.h"
#include "platform/Errno.h"
#include "platform/Files.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>

namespace {

// The folders whose sync a FolderSyncBatch holds back, while one lives.
std::vector<std::string>* g_batchedFolders = nullptr;

// The calls that make, write, sync, close and rename a replacement and
// open and write the journal: the platform's, or a test's failing disk.
FileCalls& Calls()
{
    return FileCalls::Current();
}

bool Fail(FileError* error, FileStep step, int number)
{
    if (error)
        *error = {step, number};
    return false;
}

// Reads until the end into a buffer of the expected size, growing it only
// if more comes; false with errno on a read error, or when more than
// maxBytes come (errno EFBIG).
bool ReadAll(int fd, std::string& bytes, std::size_t expected, std::uint64_t maxBytes)
{
    bytes.resize(expected);
    std::size_t used = 0;
    for (;;) {
        if (used == bytes.size())
            bytes.resize(std::max<std::size_t>(2 * used, 65536));
        const long long n = Platform::ReadSome(fd, bytes.data() + used, bytes.size() - used);
        if (n < 0)
            return false;
        if (n == 0)
            break;
        used += static_cast<std::size_t>(n);
        if (used > maxBytes) {
            errno = EFBIG;
            return false;
        }
    }
    bytes.resize(used);
    return true;
}

bool WriteAll(int fd, std::string_view bytes)
{
    while (!bytes.empty()) {
        const long long n = Calls().WriteSome(fd, bytes.data(), bytes.size());
        if (n < 0)
            return false;
        bytes.remove_prefix(static_cast<std::size_t>(n));
    }
    return true;
}

bool SyncAndClose(int fd)
{
    const bool synced = Calls().SyncFile(fd);
    const int saved = errno;
    const bool closed = Calls().CloseFile(fd);
    if (!synced)
        errno = saved;
    return synced && closed;
}

// Makes a rename in the folder durable, now or at the end of the batch.
void SyncFolderSoon(const std::string& folder)
{
    if (g_batchedFolders)
        g_batchedFolders->push_back(folder);
    else
        Platform::SyncFolder(folder);
}

// ---- Built on them ---------------------------------------------------------

// The file a replacement writes: the name itself, or the file a link leads
// to when that lies inside the link's folder. False for a link out of it.
bool ReplacementTarget(const std::string& fileName, std::string& target)
{
    target = fileName;
    Platform::FileKind kind;
    if (!Platform::InspectLink(fileName, kind) || !kind.link)
        return true;
    const std::string resolved = Platform::CanonicalPath(fileName);
    std::string folder = Platform::CanonicalPath(FolderOf(fileName));
    if (resolved.empty() || folder.empty())
        return false;
    if (folder.back() != Platform::PathSeparator())
        folder += Platform::PathSeparator();
    if (resolved.compare(0, folder.size(), folder) != 0)
        return false;
    target = resolved;
    return true;
}

// The folder a file of the folder's owner is written in, for
// TakeOwnerAndMode; false, the reason in `error`, when this process may not
// leave one there (another user's folder).
bool FolderForOwner(const std::string& target, const Platform::FileKind* old, Platform::FileKind& folder,
                    FileError* error)
{
    if (!Platform::Inspect(FolderOf(target), folder))
        return Fail(error, FileStep::Create, errno);
    if (!Platform::MayLeaveFileFor(folder, old))
        return Fail(error, FileStep::OthersFolder, EPERM);
    return true;
}

// The replacement once its target is known: a new file beside it, given its
// owner and mode before a byte is written, synced and renamed over it.
bool ReplaceTarget(const std::string& target, std::string_view bytes, FileError* error, NewFileOwner owner)
{
    Platform::FileKind old;
    const bool exists = Platform::InspectLink(target, old);
    // A folder, a FIFO or a device of that name is not replaced by a file.
    if (exists && !old.regular)
        return Fail(error, FileStep::NotRegular, old.folder ? EISDIR : 0);
    // A read-only database stays unwritable, as the learner meant.
    if (exists && (!old.writable || !Platform::MayWrite(target)))
        return Fail(error, FileStep::NotWritable, EACCES);
    Platform::FileKind folder;
    const bool forFolderOwner = owner == NewFileOwner::FolderOwner;
    if (forFolderOwner && !FolderForOwner(target, exists ? &old : nullptr, folder, error))
        return false;

    std::string temporary;
    const int fd = Calls().CreateTemporaryBeside(target, temporary);
    if (fd < 0)
        return Fail(error, FileStep::Create, errno);
    auto fail = [&](FileStep step, int number, bool open) {
        if (open)
            Calls().CloseFile(fd);
        Platform::RemoveFile(temporary);
        return Fail(error, step, number);
    };
    // Before the bytes: a write cut short leaves no file of the wrong owner.
    if (!Platform::TakeOwnerAndMode(fd, exists ? &old : nullptr, forFolderOwner ? &folder : nullptr))
        return fail(forFolderOwner && errno == EPERM ? FileStep::OthersFolder : FileStep::Write, errno, true);
    if (!WriteAll(fd, bytes))
        return fail(FileStep::Write, errno, true);
    if (!SyncAndClose(fd))
        return fail(FileStep::Sync, errno, false);
    if (!Calls().ReplaceFile(temporary, target))
        return fail(FileStep::Rename, errno, false);
    SyncFolderSoon(FolderOf(target));
    return true;
}

} // namespace

bool ReadRegularFile(const std::string& fileName, std::string& bytes, FileError* error, std::uint64_t maxBytes)
{
    bytes.clear();
    const int fd = Platform::OpenForReading(fileName);
    if (fd < 0)
        return Fail(error, FileStep::Open, errno);
    auto fail = [&](FileStep step, int number) {
        Platform::CloseFile(fd);
        bytes.clear();
        bytes.shrink_to_fit();
        return Fail(error, step, number);
    };
    // The message names this file's own limit.
    auto tooLarge = [&] {
        fail(FileStep::TooLarge, EFBIG);
        if (error)
            error->limit = maxBytes;
        return false;
    };
    // Only a regular file holds data: a folder, a FIFO or a device of that
    // name is not one (a device could read forever).
    Platform::FileKind kind;
    if (!Platform::InspectOpen(fd, kind))
        return fail(FileStep::Open, errno);
    if (!kind.regular)
        return fail(FileStep::NotRegular, kind.folder ? EISDIR : 0);
    if (kind.size > maxBytes)
        return tooLarge();
    // One byte more than the file's size, to see a file that grew.
    if (!ReadAll(fd, bytes, static_cast<std::size_t>(kind.size) + 1, maxBytes))
        return errno == EFBIG ? tooLarge() : fail(FileStep::Read, errno);
    Platform::CloseFile(fd);
    return true;
}

bool LinkLeadsOutside(const std::string& fileName)
{
    std::string target;
    return !ReplacementTarget(fileName, target);
}

bool ReplaceFile(const std::string& fileName, std::string_view bytes, FileError* error, NewFileOwner owner)
{
    std::string target;
    if (!ReplacementTarget(fileName, target))
        return Fail(error, FileStep::LinkOutside, 0);
    return ReplaceTarget(target, bytes, error, owner);
}

bool CreateNewFile(const std::string& fileName, std::string_view bytes, FileError* error)
{
    Platform::FileKind folder;
    if (!FolderForOwner(fileName, nullptr, folder, error))
        return false;
    const int fd = Platform::CreateNew(fileName);
    if (fd < 0)
        return Fail(error, FileStep::Create, errno);
    auto fail = [&](FileStep step, int number, bool open) {
        if (open)
            Calls().CloseFile(fd);
        Platform::RemoveFile(fileName);
        return Fail(error, step, number);
    };
    // Given away before a byte is written, so no moment leaves it this
    // user's in another user's folder.
    if (!Platform::TakeOwnerAndMode(fd, nullptr, &folder))
        return fail(errno == EPERM ? FileStep::OthersFolder : FileStep::Write, errno, true);
    if (!WriteAll(fd, bytes))
        return fail(FileStep::Write, errno, true);
    if (!SyncAndClose(fd))
        return fail(FileStep::Sync, errno, false);
    SyncFolderSoon(FolderOf(fileName));
    return true;
}

EntryKind KindAt(const std::string& name, FileError* error)
{
    Platform::FileKind kind;
    if (!Platform::InspectLink(name, kind)) {
        if (errno == ENOENT)
            return EntryKind::Missing;
        Fail(error, FileStep::Open, errno);
        return EntryKind::Unknown;
    }
    return kind.link ? EntryKind::Link : kind.regular ? EntryKind::Regular : EntryKind::Other;
}

bool RenameFile(const std::string& from, const std::string& to)
{
    return Platform::ReplaceFile(from, to);
}

void SyncFolder(const std::string& folder)
{
    Platform::SyncFolder(folder);
}

AppendFile::~AppendFile()
{
    if (fd_ >= 0)
        Calls().CloseFile(fd_);
}

bool AppendFile::Open(const std::string& fileName, FileError* error)
{
    if (fd_ >= 0)
        return true;
    // A missing file is made as a replacement makes one, whole and given to
    // the folder's owner before its name appears: a file made in place
    // would be this user's until given away, for good if the process died.
    Platform::FileKind kind;
    if (!Platform::InspectLink(fileName, kind) && errno == ENOENT
        && !ReplaceTarget(fileName, {}, error, NewFileOwner::FolderOwner))
        return false;
    const int fd = Calls().OpenForAppending(fileName);
    if (fd < 0)
        return Fail(error, FileStep::Create, errno);
    if (!Platform::InspectOpen(fd, kind) || !kind.regular) {
        Calls().CloseFile(fd);
        return Fail(error, FileStep::NotRegular, 0);
    }
    fd_ = fd;
    return true;
}

bool AppendFile::Append(std::string_view bytes, std::size_t& written, FileError* error)
{
    written = 0;
    while (written < bytes.size()) {
        const long long n = Calls().WriteSome(fd_, bytes.data() + written, bytes.size() - written);
        if (n <= 0)
            return Fail(error, FileStep::Write, n < 0 ? errno : ENOSPC);
        written += static_cast<std::size_t>(n);
    }
    return true;
}

bool AppendFile::Sync(FileError* error)
{
    return Platform::SyncData(fd_) || Fail(error, FileStep::Sync, errno);
}

std::vector<std::string> FolderNames(const std::string& folder)
{
    return Platform::FolderNames(folder);
}

bool RemoveOwnFile(const std::string& fileName)
{
    Platform::FileKind kind;
    if (!Platform::InspectLink(fileName, kind) || !kind.regular || !kind.mine)
        return false;
    return Platform::RemoveFile(fileName);
}

std::string FolderOf(const std::string& path)
{
    // Windows takes either slash.
    const char separators[] = {'/', Platform::PathSeparator(), '\0'};
    const auto slash = path.find_last_of(separators);
    if (slash == std::string::npos)
        return ".";
    if (slash == 0)
        return "/";
    return path.substr(0, slash);
}

void EndAfterFailedWrite()
{
    std::fputs("ファイルをオープンできません\n", stderr);
    std::fflush(stderr);
    // At once: nothing else of the program runs after a failed write.
    std::_Exit(1);
}

FolderSyncBatch::FolderSyncBatch()
{
    if (!g_batchedFolders) {
        g_batchedFolders = &folders_;
        outermost_ = true;
    }
}

FolderSyncBatch::~FolderSyncBatch()
{
    if (!outermost_)
        return;
    g_batchedFolders = nullptr;
    std::sort(folders_.begin(), folders_.end());
    folders_.erase(std::unique(folders_.begin(), folders_.end()), folders_.end());
    for (const std::string& folder : folders_)
        Platform::SyncFolder(folder);
}
