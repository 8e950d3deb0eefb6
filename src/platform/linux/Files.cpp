#include "platform/Files.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {

void FillKind(const struct stat& st, Platform::FileKind& kind)
{
    kind.folder = S_ISDIR(st.st_mode);
    kind.regular = S_ISREG(st.st_mode);
    kind.writable = (st.st_mode & 0222) != 0;
    kind.size = static_cast<std::uint64_t>(st.st_size);
    kind.mode = st.st_mode & 07777;
}

} // namespace

namespace Platform {

int OpenForReading(const std::string& path)
{
    // O_NONBLOCK keeps a FIFO of that name from blocking the open; it has no
    // effect on regular files.
    return ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
}

int OpenForWritingInPlace(const std::string& path)
{
    return ::open(path.c_str(), O_WRONLY | O_TRUNC | O_CLOEXEC);
}

int CreateTemporaryBeside(const std::string& path, std::string& tempPath)
{
    std::string pattern = path + ".tmp-XXXXXX";
    std::vector<char> name(pattern.begin(), pattern.end());
    name.push_back('\0');
    const int fd = ::mkostemp(name.data(), O_CLOEXEC);
    if (fd >= 0)
        tempPath = name.data();
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

bool CloseFile(int fd)
{
    return ::close(fd) == 0;
}

bool Inspect(const std::string& path, FileKind& kind)
{
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0)
        return false;
    FillKind(st, kind);
    return true;
}

bool InspectOpen(int fd, FileKind& kind)
{
    struct stat st {};
    if (::fstat(fd, &st) != 0)
        return false;
    FillKind(st, kind);
    return true;
}

bool MayWrite(const std::string& path)
{
    return ::access(path.c_str(), W_OK) == 0;
}

bool SetMode(int fd, unsigned mode)
{
    return ::fchmod(fd, mode) == 0;
}

unsigned NewFileMode()
{
    // umask can only be read by setting it; set it straight back.
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return 0666 & ~mask;
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

void AdviseLargePages(void* buffer, std::size_t size)
{
    // A large buffer not yet touched is asked to come in 2 MiB pages, so a
    // bank of some megabytes costs a handful of page faults, not thousands.
#if defined(MADV_HUGEPAGE)
    constexpr std::uintptr_t kLarge = std::uintptr_t {2} << 20;
    if (size < 2 * kLarge)
        return;
    const auto begin = reinterpret_cast<std::uintptr_t>(buffer);
    const std::uintptr_t first = (begin + kLarge - 1) & ~(kLarge - 1);
    const std::uintptr_t last = (begin + size) & ~(kLarge - 1);
    if (last > first)
        ::madvise(reinterpret_cast<void*>(first), last - first, MADV_HUGEPAGE);
#else
    (void)buffer;
    (void)size;
#endif
}

} // namespace Platform
