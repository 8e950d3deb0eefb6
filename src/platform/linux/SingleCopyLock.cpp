#include "platform/SingleCopyLock.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// Whether the file open on `fd` may serve as the lock: a regular file that
// only its owner can open, owned by this user or by the folder's owner (root
// working in a learner's folder). No other user can open such a file, so no
// other user can hold it.
bool IsLockFile(int fd, const std::string& folder)
{
    struct stat file {};
    if (::fstat(fd, &file) != 0 || !S_ISREG(file.st_mode) || (file.st_mode & 077) != 0)
        return false;
    if (file.st_uid == ::geteuid())
        return true;
    struct stat dir {};
    return ::stat(folder.c_str(), &dir) == 0 && file.st_uid == dir.st_uid;
}

// A lock file the superuser made in a learner's folder is the learner's, so
// the learner's own start meets it as the lock (and cannot take the folder
// beside a copy run as root) and may replace it later.
void GiveToFolderOwner(int fd, const std::string& folder)
{
    struct stat dir {};
    if (::geteuid() == 0 && ::stat(folder.c_str(), &dir) == 0 && dir.st_uid != 0)
        (void)!::fchown(fd, dir.st_uid, dir.st_gid);
}

// Whether `path` still names the file open on `fd`.
bool StillNames(const std::string& path, int fd)
{
    struct stat named {}, open {};
    return ::lstat(path.c_str(), &named) == 0 && ::fstat(fd, &open) == 0 && named.st_dev == open.st_dev
           && named.st_ino == open.st_ino;
}

// Never through a link, never blocking on a FIFO.
constexpr int kOpenFlags = O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC;

// What the lock's name holds now.
enum class Entry { Lock, Foreign, Absent, Unreadable };
Entry Look(const std::string& path, const std::string& folder)
{
    const int fd = ::open(path.c_str(), kOpenFlags);
    if (fd < 0) {
        if (errno == ENOENT)
            return Entry::Absent;
        // A link (ELOOP), another user's file (EACCES), a socket (ENXIO).
        return errno == ELOOP || errno == EACCES || errno == EPERM || errno == ENXIO ? Entry::Foreign
                                                                                    : Entry::Unreadable;
    }
    const bool lock = IsLockFile(fd, folder);
    ::close(fd);
    return lock ? Entry::Lock : Entry::Foreign;
}

// The folder's own flock, held while a foreign entry is looked at again and
// removed, so that two starting copies never remove the lock file one of
// them has just made. Another user who holds it only delays the start.
class FolderTurn {
public:
    explicit FolderTurn(const std::string& folder) : fd_(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC))
    {
        for (int wait = 0; fd_ >= 0 && wait < 100; ++wait) {
            if (::flock(fd_, LOCK_EX | LOCK_NB) == 0 || errno != EWOULDBLOCK)
                return;
            ::usleep(10000);
        }
    }
    ~FolderTurn()
    {
        if (fd_ >= 0)
            ::close(fd_);
    }
    FolderTurn(const FolderTurn&) = delete;
    FolderTurn& operator=(const FolderTurn&) = delete;

private:
    int fd_;
};

} // namespace

namespace Platform {

SingleCopyLock::SingleCopyLock(std::string name, std::string folder)
    : name_(std::move(name)), folder_(std::move(folder))
{
}

SingleCopyLock::~SingleCopyLock()
{
    // The file stays: removing it would let a start that opened it just
    // before lock an unlinked file while the next one makes a new one.
    if (fd_ >= 0) {
        ::flock(fd_, LOCK_UN);
        ::close(fd_);
    }
}

std::string SingleCopyLock::Where() const
{
    return folder_ + "/." + name_ + ".lock";
}

SingleCopyLock::Result SingleCopyLock::Acquire()
{
    if (fd_ >= 0)
        return Result::Held;
    const std::string path = Where();
    // Each turn either takes the lock, meets its holder, or clears a name
    // that something else took; a few turns cover starts racing each other.
    for (int turn = 0; turn < 8; ++turn) {
        int fd = ::open(path.c_str(), kOpenFlags);
        if (fd < 0 && errno == ENOENT) {
            fd = ::open(path.c_str(), kOpenFlags | O_CREAT | O_EXCL, 0600);
            if (fd < 0 && errno == EEXIST)
                continue; // another start made it first
            if (fd < 0) {
                error_ = errno;
                problem_ = path + ": " + std::strerror(error_);
                return error_ == EACCES || error_ == EPERM || error_ == EROFS ? Result::ReadOnlyFolder
                                                                                : Result::Unavailable;
            }
            GiveToFolderOwner(fd, folder_);
        }
        if (fd < 0 || !IsLockFile(fd, folder_)) {
            // A link, a FIFO, a folder, another user's file: not the lock.
            if (fd >= 0)
                ::close(fd);
            FolderTurn inTurn(folder_);
            const Entry entry = Look(path, folder_); // another start may have replaced it meanwhile
            if (entry == Entry::Unreadable) {
                error_ = errno;
                problem_ = path + ": " + std::strerror(error_);
                return Result::Unavailable;
            }
            if (entry == Entry::Foreign && ::remove(path.c_str()) != 0 && errno != ENOENT) {
                error_ = errno;
                problem_ = path + ": not a lock file and cannot be removed: " + std::strerror(error_);
                // A folder this user cannot change takes no file of any copy
                // of this user either.
                return error_ == EACCES || error_ == EROFS ? Result::ReadOnlyFolder : Result::Blocked;
            }
            continue;
        }
        if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
            const int failure = errno;
            ::close(fd);
            if (failure == EWOULDBLOCK)
                return Result::TakenByAnother;
            error_ = failure;
            problem_ = path + ": " + std::strerror(error_);
            return Result::Unavailable;
        }
        if (!StillNames(path, fd)) {
            ::close(fd); // replaced under us: try the name again
            continue;
        }
        fd_ = fd;
        return Result::Held;
    }
    error_ = EAGAIN;
    problem_ = path + ": keeps changing";
    return Result::Blocked;
}

} // namespace Platform
