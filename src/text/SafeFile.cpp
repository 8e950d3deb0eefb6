#include "text/SafeFile.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

WriteFault g_writeFault = WriteFault::None;
int g_writeFaultTimes = 0;

// The folders whose sync a FolderSyncBatch holds back, while one lives.
std::vector<std::string>* g_batchedFolders = nullptr;

// Takes the armed fault if it is for this step; it fires as many times as
// it was armed for (a negative count: until it is disarmed).
bool FaultAt(WriteFault step)
{
    if (g_writeFault != step)
        return false;
    if (g_writeFaultTimes > 0 && --g_writeFaultTimes == 0)
        g_writeFault = WriteFault::None;
    return true;
}

bool Fail(FileError* error, FileStep step, int number)
{
    if (error)
        *error = {step, number};
    return false;
}

// ---- The system calls ------------------------------------------------------

// Opens a file to read without blocking (a FIFO's open would wait for a
// writer) and tells what it is. -1 with errno on failure.
int OpenToRead(const std::string& fileName, struct stat& st)
{
    const int fd = ::open(fileName.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
    if (fd >= 0 && ::fstat(fd, &st) != 0) {
        const int saved = errno;
        ::close(fd);
        errno = saved;
        return -1;
    }
    return fd;
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
        const ssize_t n = ::read(fd, bytes.data() + used, bytes.size() - used);
        if (n < 0 && errno == EINTR)
            continue;
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
        const ssize_t n = ::write(fd, bytes.data(), bytes.size());
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return false;
        bytes.remove_prefix(static_cast<std::size_t>(n));
    }
    return true;
}

// A new file of the given name pattern ("...XXXXXX") made exclusively: an
// existing name, a link included, is never opened.
int CreateTemporary(std::string& name)
{
    std::vector<char> buffer(name.begin(), name.end());
    buffer.push_back('\0');
    const int fd = ::mkostemp(buffer.data(), O_CLOEXEC);
    if (fd >= 0)
        name = buffer.data();
    return fd;
}

mode_t NewFileMode()
{
    // umask can only be read by setting it; put it straight back.
    const mode_t mask = ::umask(022);
    ::umask(mask);
    return 0666 & ~mask;
}

// Gives the new file the owner and mode of the file it replaces (mkstemp
// makes it 0600 and ours), or the mode a plain create would give.
bool TakeOwnerAndMode(int fd, const struct stat* old)
{
    if (!old)
        return ::fchmod(fd, NewFileMode()) == 0;
    if (old->st_uid != ::geteuid() || old->st_gid != ::getegid()) {
        // Only the superuser may give a file away: a run as root keeps the
        // learner's files the learner's. Anyone else keeps what it may.
        if (::fchown(fd, old->st_uid, old->st_gid) != 0)
            (void)!::fchown(fd, static_cast<uid_t>(-1), old->st_gid);
    }
    return ::fchmod(fd, old->st_mode & 07777) == 0;
}

bool SyncAndClose(int fd, bool fault)
{
    const bool synced = fault ? (errno = EIO, false) : ::fsync(fd) == 0;
    const int saved = errno;
    const bool closed = ::close(fd) == 0;
    if (!synced)
        errno = saved;
    return synced && closed;
}

void SyncFolder(const std::string& folder)
{
    const int dir = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir >= 0) {
        ::fsync(dir);
        ::close(dir);
    }
}

// Makes a rename in the folder durable, now or at the end of the batch.
void SyncFolderSoon(const std::string& folder)
{
    if (g_batchedFolders)
        g_batchedFolders->push_back(folder);
    else
        SyncFolder(folder);
}

// The canonical path, or empty when it cannot be resolved.
std::string RealPath(const std::string& path)
{
    std::string result;
    if (char* resolved = ::realpath(path.c_str(), nullptr)) {
        result = resolved;
        std::free(resolved);
    }
    return result;
}

// ---- Built on them ---------------------------------------------------------

// The file a replacement writes: the name itself, or the file a link leads
// to when that lies inside the link's folder. False for a link out of it.
bool ReplacementTarget(const std::string& fileName, std::string& target)
{
    target = fileName;
    struct stat st {};
    if (::lstat(fileName.c_str(), &st) != 0 || !S_ISLNK(st.st_mode))
        return true;
    const std::string resolved = RealPath(fileName);
    std::string folder = RealPath(FolderOf(fileName));
    if (resolved.empty() || folder.empty())
        return false;
    if (folder.back() != '/')
        folder += '/';
    if (resolved.compare(0, folder.size(), folder) != 0)
        return false;
    target = resolved;
    return true;
}

} // namespace

bool ReadRegularFile(const std::string& fileName, std::string& bytes, FileError* error, std::uint64_t maxBytes)
{
    bytes.clear();
    struct stat st {};
    const int fd = OpenToRead(fileName, st);
    if (fd < 0)
        return Fail(error, FileStep::Open, errno);
    auto fail = [&](FileStep step, int number) {
        ::close(fd);
        bytes.clear();
        bytes.shrink_to_fit();
        return Fail(error, step, number);
    };
    // Only a regular file holds data: a folder, a FIFO or a device of that
    // name is not one (a device could read forever).
    if (!S_ISREG(st.st_mode))
        return fail(FileStep::NotRegular, S_ISDIR(st.st_mode) ? EISDIR : 0);
    if (static_cast<std::uint64_t>(st.st_size) > maxBytes)
        return fail(FileStep::TooLarge, EFBIG);
    // One byte more than the file's size, to see a file that grew.
    if (!ReadAll(fd, bytes, static_cast<std::size_t>(st.st_size) + 1, maxBytes))
        return fail(errno == EFBIG ? FileStep::TooLarge : FileStep::Read, errno);
    ::close(fd);
    return true;
}

bool LinkLeadsOutside(const std::string& fileName)
{
    std::string target;
    return !ReplacementTarget(fileName, target);
}

bool ReplaceFile(const std::string& fileName, std::string_view bytes, FileError* error)
{
    std::string target;
    if (!ReplacementTarget(fileName, target))
        return Fail(error, FileStep::LinkOutside, 0);
    struct stat old {};
    const bool exists = ::lstat(target.c_str(), &old) == 0;
    // A folder, a FIFO or a device of that name is not replaced by a file.
    if (exists && !S_ISREG(old.st_mode))
        return Fail(error, FileStep::NotRegular, S_ISDIR(old.st_mode) ? EISDIR : 0);
    // A read-only database stays unwritable, as the learner meant.
    if (exists && ((old.st_mode & 0222) == 0 || ::access(target.c_str(), W_OK) != 0))
        return Fail(error, FileStep::NotWritable, EACCES);

    std::string temporary = target + ".tmp-XXXXXX";
    const int fd = FaultAt(WriteFault::Open)           ? (errno = ENOSPC, -1)
                   : FaultAt(WriteFault::CreateDenied) ? (errno = EACCES, -1)
                                                       : CreateTemporary(temporary);
    if (fd < 0)
        return Fail(error, FileStep::Create, errno);
    auto fail = [&](FileStep step, int number, bool open) {
        if (open)
            ::close(fd);
        ::unlink(temporary.c_str());
        return Fail(error, step, number);
    };
    if (FaultAt(WriteFault::Write)) {
        // Half the bytes reach the disk before the failure.
        WriteAll(fd, bytes.substr(0, bytes.size() / 2));
        return fail(FileStep::Write, ENOSPC, true);
    }
    if (!WriteAll(fd, bytes))
        return fail(FileStep::Write, errno, true);
    if (!TakeOwnerAndMode(fd, exists ? &old : nullptr))
        return fail(FileStep::Write, errno, true);
    if (!SyncAndClose(fd, FaultAt(WriteFault::Sync)))
        return fail(FileStep::Sync, errno, false);
    if (FaultAt(WriteFault::Rename) ? (errno = EXDEV, true) : ::rename(temporary.c_str(), target.c_str()) != 0)
        return fail(FileStep::Rename, errno, false);
    SyncFolderSoon(FolderOf(target));
    return true;
}

bool CreateNewFile(const std::string& fileName, std::string_view bytes, FileError* error)
{
    const int fd = ::open(fileName.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, NewFileMode());
    if (fd < 0)
        return Fail(error, FileStep::Create, errno);
    if (!WriteAll(fd, bytes)) {
        const int saved = errno;
        ::close(fd);
        ::unlink(fileName.c_str());
        return Fail(error, FileStep::Write, saved);
    }
    if (!SyncAndClose(fd, false)) {
        const int saved = errno;
        ::unlink(fileName.c_str());
        return Fail(error, FileStep::Sync, saved);
    }
    SyncFolderSoon(FolderOf(fileName));
    return true;
}

std::vector<std::string> FolderNames(const std::string& folder)
{
    std::vector<std::string> names;
    DIR* dir = ::opendir(folder.c_str());
    if (!dir)
        return names;
    while (const dirent* entry = ::readdir(dir)) {
        const std::string name = entry->d_name;
        if (name != "." && name != "..")
            names.push_back(name);
    }
    ::closedir(dir);
    return names;
}

bool RemoveOwnFile(const std::string& fileName)
{
    struct stat st {};
    if (::lstat(fileName.c_str(), &st) != 0 || !S_ISREG(st.st_mode) || st.st_uid != ::geteuid())
        return false;
    return ::unlink(fileName.c_str()) == 0;
}

std::string FolderOf(const std::string& path)
{
    const auto slash = path.find_last_of('/');
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
    ::_exit(1);
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
        SyncFolder(folder);
}

void SetWriteFaultForTest(WriteFault fault, int times)
{
    g_writeFault = times == 0 ? WriteFault::None : fault;
    g_writeFaultTimes = times;
}
