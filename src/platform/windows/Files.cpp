#include "platform/Files.h"

#include "platform/windows/Wide.h"

#include <cerrno>
#include <fcntl.h>
#include <io.h>
#include <random>
#include <share.h>
#include <sys/stat.h>
#include <windows.h>

namespace {

// The errno that means what a Windows error means, for the few errors a
// file replace gives; the C runtime maps the others itself.
int ErrnoOf(DWORD error)
{
    switch (error) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
        return ENOENT;
    case ERROR_ACCESS_DENIED:
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
        return EACCES;
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL:
        return ENOSPC;
    case ERROR_NOT_SAME_DEVICE:
        return EXDEV;
    case ERROR_WRITE_PROTECT:
        return EROFS;
    case ERROR_FILENAME_EXCED_RANGE:
        return ENAMETOOLONG;
    default:
        return EIO;
    }
}

void FillKind(const struct _stat64& st, Platform::FileKind& kind)
{
    kind.folder = (st.st_mode & _S_IFMT) == _S_IFDIR;
    kind.regular = (st.st_mode & _S_IFMT) == _S_IFREG;
    kind.writable = (st.st_mode & _S_IWRITE) != 0;
    kind.size = static_cast<std::uint64_t>(st.st_size);
    kind.mode = kind.writable ? 0666 : 0444;
}

} // namespace

namespace Platform {

int OpenForReading(const std::string& path)
{
    int fd = -1;
    ::_wsopen_s(&fd, Wide(path).c_str(), _O_RDONLY | _O_BINARY | _O_NOINHERIT, _SH_DENYNO, 0);
    return fd;
}

int OpenForWritingInPlace(const std::string& path)
{
    int fd = -1;
    ::_wsopen_s(&fd, Wide(path).c_str(), _O_WRONLY | _O_TRUNC | _O_BINARY | _O_NOINHERIT, _SH_DENYNO, 0);
    return fd;
}

int CreateTemporaryBeside(const std::string& path, std::string& tempPath)
{
    static const char kLetters[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
    thread_local std::mt19937 random(std::random_device {}());
    for (int attempt = 0; attempt < 100; ++attempt) {
        std::string name = path + ".tmp-";
        for (int i = 0; i < 6; ++i)
            name += kLetters[random() % (sizeof kLetters - 1)];
        int fd = -1;
        // _O_EXCL: a name in use is never opened, as mkstemp does.
        const errno_t failed = ::_wsopen_s(&fd, Wide(name).c_str(),
                                           _O_RDWR | _O_CREAT | _O_EXCL | _O_BINARY | _O_NOINHERIT, _SH_DENYNO,
                                           _S_IREAD | _S_IWRITE);
        if (!failed) {
            tempPath = name;
            return fd;
        }
        if (errno != EEXIST)
            return -1;
    }
    errno = EEXIST;
    return -1;
}

long long ReadSome(int fd, void* buffer, std::size_t size)
{
    const unsigned chunk = size > 0x40000000u ? 0x40000000u : static_cast<unsigned>(size);
    return ::_read(fd, buffer, chunk);
}

long long WriteSome(int fd, const void* buffer, std::size_t size)
{
    const unsigned chunk = size > 0x40000000u ? 0x40000000u : static_cast<unsigned>(size);
    return ::_write(fd, buffer, chunk);
}

bool SyncFile(int fd)
{
    // FlushFileBuffers on the file's handle.
    return ::_commit(fd) == 0;
}

bool CloseFile(int fd)
{
    return ::_close(fd) == 0;
}

bool Inspect(const std::string& path, FileKind& kind)
{
    struct _stat64 st {};
    if (::_wstat64(Wide(path).c_str(), &st) != 0)
        return false;
    FillKind(st, kind);
    return true;
}

bool InspectOpen(int fd, FileKind& kind)
{
    struct _stat64 st {};
    if (::_fstat64(fd, &st) != 0)
        return false;
    FillKind(st, kind);
    return true;
}

bool MayWrite(const std::string& path)
{
    return ::_waccess(Wide(path).c_str(), 2) == 0;
}

bool SetMode(int fd, unsigned mode)
{
    // Only read-only or not exists; a new temporary file is writable already.
    if ((mode & 0222) != 0)
        return true;
    HANDLE handle = reinterpret_cast<HANDLE>(::_get_osfhandle(fd));
    FILE_BASIC_INFO info {};
    if (handle == INVALID_HANDLE_VALUE || !::GetFileInformationByHandleEx(handle, FileBasicInfo, &info, sizeof info)) {
        errno = EBADF;
        return false;
    }
    info.FileAttributes |= FILE_ATTRIBUTE_READONLY;
    if (!::SetFileInformationByHandle(handle, FileBasicInfo, &info, sizeof info)) {
        errno = ErrnoOf(::GetLastError());
        return false;
    }
    return true;
}

unsigned NewFileMode()
{
    return 0666;
}

bool ReplaceFile(const std::string& from, const std::string& to)
{
    // Write-through: the replace is on the disk when this returns.
    if (::MoveFileExW(Wide(from).c_str(), Wide(to).c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        return true;
    errno = ErrnoOf(::GetLastError());
    return false;
}

bool RemoveFile(const std::string& path)
{
    return ::_wunlink(Wide(path).c_str()) == 0;
}

void SyncFolder(const std::string&)
{
    // MOVEFILE_WRITE_THROUGH made the replace durable.
}

void AdviseLargePages(void*, std::size_t) {}

} // namespace Platform
