#include "platform/Files.h"

#include <cerrno>
#include <cstdlib>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

void FillKind(const struct stat& st, Platform::FileKind& kind)
{
    kind.folder = S_ISDIR(st.st_mode);
    kind.regular = S_ISREG(st.st_mode);
    kind.link = S_ISLNK(st.st_mode);
    kind.writable = (st.st_mode & 0222) != 0;
    kind.mine = st.st_uid == ::geteuid();
    kind.size = static_cast<std::uint64_t>(st.st_size);
    kind.mode = st.st_mode & 07777;
    kind.owner = st.st_uid;
    kind.group = st.st_gid;
    kind.device = static_cast<std::uint64_t>(st.st_dev);
    kind.id = static_cast<std::uint64_t>(st.st_ino);
}

// What a stat call (result 0) found; false, its errno kept, when it failed.
bool KindFrom(int result, const struct stat& st, Platform::FileKind& kind)
{
    if (result != 0)
        return false;
    FillKind(st, kind);
    return true;
}

} // namespace

namespace Platform {

int OpenForReading(const std::string& path)
{
    // O_NONBLOCK keeps a FIFO of that name from blocking the open; it has no
    // effect on regular files.
    return ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
}

int OpenForAppending(const std::string& path)
{
    return ::open(path.c_str(), O_WRONLY | O_APPEND | O_CREAT | O_NOFOLLOW | O_CLOEXEC | O_NONBLOCK | O_NOCTTY,
                  0666);
}

int CreateNew(const std::string& path)
{
    return ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
}

int CreateTemporaryBeside(const std::string& path, std::string& tempPath)
{
    // mkostemp fills in exactly six X.
    static_assert(kTemporaryNameLetters == 6);
    std::string name = path + kTemporarySuffix + "XXXXXX";
    // mkostemp opens exclusively: an existing name, a link included, is
    // never opened.
    const int fd = ::mkostemp(name.data(), O_CLOEXEC);
    if (fd >= 0)
        tempPath = name;
    return fd;
}

long long ReadSome(int fd, void* buffer, std::size_t size)
{
    for (;;) {
        const ssize_t n = ::read(fd, buffer, size);
        if (n >= 0 || errno != EINTR)
            return n;
    }
}

long long WriteSome(int fd, const void* buffer, std::size_t size)
{
    for (;;) {
        const ssize_t n = ::write(fd, buffer, size);
        if (n >= 0 || errno != EINTR)
            return n;
    }
}

bool SyncFile(int fd)
{
    return ::fsync(fd) == 0;
}

bool SyncData(int fd)
{
    return ::fdatasync(fd) == 0;
}

bool CloseFile(int fd)
{
    return ::close(fd) == 0;
}

bool Inspect(const std::string& path, FileKind& kind)
{
    struct stat st {};
    return KindFrom(::stat(path.c_str(), &st), st, kind);
}

bool InspectLink(const std::string& path, FileKind& kind)
{
    struct stat st {};
    return KindFrom(::lstat(path.c_str(), &st), st, kind);
}

bool InspectOpen(int fd, FileKind& kind)
{
    struct stat st {};
    return KindFrom(::fstat(fd, &st), st, kind);
}

bool MayWrite(const std::string& path)
{
    return ::access(path.c_str(), W_OK) == 0;
}

bool MayLeaveFileFor(const FileKind& folder, const FileKind* old)
{
    const uid_t me = ::geteuid();
    return me == 0 || me == folder.owner || (old && me == old->owner);
}

bool TakeOwnerAndMode(int fd, const FileKind* old, const FileKind* folder)
{
    const FileKind* from = old ? old : folder;
    struct stat made {};
    if (from && ::fstat(fd, &made) != 0)
        return false;
    if (from && (made.st_uid != from->owner || made.st_gid != from->group)) {
        // Only the superuser may give a file away: a run as root keeps the
        // learner's files the learner's and makes new ones theirs. Anyone
        // else keeps what it may.
        if (::fchown(fd, from->owner, from->group) != 0) {
            const int refused = errno;
            (void)!::fchown(fd, static_cast<uid_t>(-1), from->group);
            // Still this user's: fine in this user's own folder only.
            if (folder && made.st_uid != from->owner && made.st_uid != folder->owner) {
                errno = refused;
                return false;
            }
        }
    }
    return ::fchmod(fd, old ? old->mode & 07777 : NewFileMode()) == 0;
}

unsigned NewFileMode()
{
    // umask can only be read by setting it; set it straight back.
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return 0666 & ~mask;
}

std::string CanonicalPath(const std::string& path)
{
    std::string result;
    if (char* resolved = ::realpath(path.c_str(), nullptr)) {
        result = resolved;
        std::free(resolved);
    }
    return result;
}

char PathSeparator()
{
    return '/';
}

bool ReplaceFile(const std::string& from, const std::string& to)
{
    return ::rename(from.c_str(), to.c_str()) == 0;
}

bool RemoveFile(const std::string& path)
{
    return ::unlink(path.c_str()) == 0;
}

void SyncFolder(const std::string& folder)
{
    const int dir = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir >= 0) {
        ::fsync(dir);
        ::close(dir);
    }
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

bool LocalTime(std::time_t t, std::tm& local)
{
    return ::localtime_r(&t, &local) != nullptr;
}

} // namespace Platform
