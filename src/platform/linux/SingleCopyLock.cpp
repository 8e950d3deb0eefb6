#include "platform/SingleCopyLock.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

bool IsFolder(const std::string& path)
{
    struct stat st {};
    return !path.empty() && ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

} // namespace

namespace Platform {

SingleCopyLock::SingleCopyLock(std::string name) : name_(std::move(name)) {}

SingleCopyLock::~SingleCopyLock()
{
    if (fd_ >= 0) {
        ::flock(fd_, LOCK_UN);
        ::close(fd_);
    }
}

std::string SingleCopyLock::Where() const
{
    // The per-user runtime folder, also when the session did not name it,
    // so every start of the same user meets the same lock.
    const char* env = std::getenv("XDG_RUNTIME_DIR");
    std::string folder = env != nullptr ? env : "";
    if (!IsFolder(folder))
        folder = "/run/user/" + std::to_string(::getuid());
    if (!IsFolder(folder))
        return "/tmp/" + name_ + "-" + std::to_string(::getuid()) + ".lock";
    return folder + "/" + name_ + ".lock";
}

SingleCopyLock::Result SingleCopyLock::Acquire()
{
    if (fd_ >= 0)
        return Result::Held;
    const std::string path = Where();
    int fd = ::open(path.c_str(), O_RDONLY | O_CREAT | O_CLOEXEC, 0600);
    if (fd < 0) {
        problem_ = path + ": " + std::strerror(errno);
        return Result::Unavailable;
    }
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        ::close(fd);
        return Result::TakenByAnother;
    }
    fd_ = fd;
    return Result::Held;
}

} // namespace Platform
