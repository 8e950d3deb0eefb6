#include "platform/Files.h"

#include "platform/windows/Wide.h"

#include <cerrno>
#include <fcntl.h>
#include <io.h>
#include <random>
#include <windows.h>

// <windows.h> names ReplaceFileW so; this file defines its own.
#undef ReplaceFile

namespace {

// The errno that means what a Windows error means.
int ErrnoOf(DWORD error)
{
    switch (error) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
    case ERROR_INVALID_DRIVE:
    case ERROR_BAD_NETPATH:
        return ENOENT;
    case ERROR_ACCESS_DENIED:
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
        return EACCES;
    case ERROR_FILE_EXISTS:
    case ERROR_ALREADY_EXISTS:
        return EEXIST;
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL:
        return ENOSPC;
    case ERROR_NOT_SAME_DEVICE:
        return EXDEV;
    case ERROR_WRITE_PROTECT:
        return EROFS;
    case ERROR_FILENAME_EXCED_RANGE:
        return ENAMETOOLONG;
    case ERROR_DIRECTORY:
        return ENOTDIR;
    case ERROR_INVALID_NAME:
        return EINVAL;
    case ERROR_CANT_RESOLVE_FILENAME:
        return ELOOP;
    case ERROR_TOO_MANY_OPEN_FILES:
        return EMFILE;
    default:
        return EIO;
    }
}

int FailWith(DWORD error)
{
    errno = ErrnoOf(error);
    return -1;
}

constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;

// A descriptor of the C runtime over a handle, which it then owns.
int DescriptorOf(HANDLE handle, int flags)
{
    const int fd = ::_open_osfhandle(reinterpret_cast<intptr_t>(handle), flags);
    if (fd < 0) {
        ::CloseHandle(handle);
        errno = EMFILE;
    }
    return fd;
}

bool FillKind(HANDLE handle, Platform::FileKind& kind)
{
    kind = {};
    const DWORD type = ::GetFileType(handle);
    if (type != FILE_TYPE_DISK) {
        // A console, a pipe or a device such as NUL: no file of the folder.
        return true;
    }
    BY_HANDLE_FILE_INFORMATION info {};
    if (!::GetFileInformationByHandle(handle, &info)) {
        errno = ErrnoOf(::GetLastError());
        return false;
    }
    kind.folder = (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    kind.link = (info.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
    kind.regular = !kind.folder && !kind.link;
    kind.writable = (info.dwFileAttributes & FILE_ATTRIBUTE_READONLY) == 0;
    kind.size = (std::uint64_t {info.nFileSizeHigh} << 32) | info.nFileSizeLow;
    kind.mode = kind.writable ? 0666 : 0444;
    kind.device = info.dwVolumeSerialNumber;
    kind.id = (std::uint64_t {info.nFileIndexHigh} << 32) | info.nFileIndexLow;
    return true;
}

// Opens what a path names only to look at it; FILE_FLAG_BACKUP_SEMANTICS
// opens a folder too, FILE_FLAG_OPEN_REPARSE_POINT the link itself.
bool InspectPath(const std::string& path, Platform::FileKind& kind, DWORD extraFlags)
{
    HANDLE handle = ::CreateFileW(Platform::Wide(path).c_str(), FILE_READ_ATTRIBUTES, kShareAll, nullptr,
                                  OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS | extraFlags, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        errno = ErrnoOf(::GetLastError());
        return false;
    }
    const bool told = FillKind(handle, kind);
    ::CloseHandle(handle);
    return told;
}

} // namespace

namespace Platform {

int OpenForReading(const std::string& path)
{
    // Shared for delete too, so a replacement by another program is never
    // refused while the file is read; a folder opens, to be told as one.
    HANDLE handle = ::CreateFileW(Wide(path).c_str(), GENERIC_READ, kShareAll, nullptr, OPEN_EXISTING,
                                  FILE_ATTRIBUTE_NORMAL | FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (handle == INVALID_HANDLE_VALUE)
        return FailWith(::GetLastError());
    return DescriptorOf(handle, _O_RDONLY | _O_BINARY);
}

int OpenForAppending(const std::string& path)
{
    HANDLE handle = ::CreateFileW(Wide(path).c_str(), GENERIC_WRITE, kShareAll, nullptr, OPEN_ALWAYS,
                                  FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
    if (handle == INVALID_HANDLE_VALUE)
        return FailWith(::GetLastError());
    FileKind kind;
    if (!FillKind(handle, kind) || kind.link) {
        // A link is never followed (O_NOFOLLOW's ELOOP).
        ::CloseHandle(handle);
        errno = kind.link ? ELOOP : errno;
        return -1;
    }
    return DescriptorOf(handle, _O_APPEND | _O_BINARY);
}

int CreateNew(const std::string& path)
{
    // CREATE_NEW fails on any name in use, a link included.
    HANDLE handle = ::CreateFileW(Wide(path).c_str(), GENERIC_READ | GENERIC_WRITE, kShareAll, nullptr, CREATE_NEW,
                                  FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE)
        return FailWith(::GetLastError());
    return DescriptorOf(handle, _O_BINARY);
}

int CreateTemporaryBeside(const std::string& path, std::string& tempPath)
{
    static const char kLetters[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
    thread_local std::mt19937 random(std::random_device {}());
    for (int attempt = 0; attempt < 100; ++attempt) {
        std::string name = path + kTemporarySuffix;
        for (std::size_t i = 0; i < kTemporaryNameLetters; ++i)
            name += kLetters[random() % (sizeof kLetters - 1)];
        const int fd = CreateNew(name);
        if (fd >= 0) {
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

bool SyncData(int fd)
{
    return ::_commit(fd) == 0;
}

bool CloseFile(int fd)
{
    return ::_close(fd) == 0;
}

bool Inspect(const std::string& path, FileKind& kind)
{
    return InspectPath(path, kind, 0);
}

bool InspectLink(const std::string& path, FileKind& kind)
{
    return InspectPath(path, kind, FILE_FLAG_OPEN_REPARSE_POINT);
}

bool InspectOpen(int fd, FileKind& kind)
{
    HANDLE handle = reinterpret_cast<HANDLE>(::_get_osfhandle(fd));
    if (handle == INVALID_HANDLE_VALUE) {
        errno = EBADF;
        return false;
    }
    return FillKind(handle, kind);
}

bool MayWrite(const std::string& path)
{
    return ::_waccess(Wide(path).c_str(), 2) == 0;
}

bool MayLeaveFileFor(const FileKind&, const FileKind*)
{
    // A file here has no owner that keeps others from replacing it.
    return true;
}

bool TakeOwnerAndMode(int fd, const FileKind* old, const FileKind*)
{
    // Only read-only or not exists; a new file is writable already.
    if (!old || old->writable)
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

std::string CanonicalPath(const std::string& path)
{
    HANDLE handle = ::CreateFileW(Wide(path).c_str(), 0, kShareAll, nullptr, OPEN_EXISTING,
                                  FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (handle == INVALID_HANDLE_VALUE)
        return {};
    std::wstring buffer(MAX_PATH, L'\0');
    DWORD n = ::GetFinalPathNameByHandleW(handle, buffer.data(), static_cast<DWORD>(buffer.size()),
                                          FILE_NAME_NORMALIZED | VOLUME_NAME_DOS);
    if (n >= buffer.size()) {
        buffer.resize(n + 1);
        n = ::GetFinalPathNameByHandleW(handle, buffer.data(), static_cast<DWORD>(buffer.size()),
                                        FILE_NAME_NORMALIZED | VOLUME_NAME_DOS);
    }
    ::CloseHandle(handle);
    if (n == 0 || n >= buffer.size())
        return {};
    buffer.resize(n);
    return Narrow(buffer);
}

char PathSeparator()
{
    return '\\';
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
    if (::DeleteFileW(Wide(path).c_str()))
        return true;
    errno = ErrnoOf(::GetLastError());
    return false;
}

void SyncFolder(const std::string&)
{
    // MOVEFILE_WRITE_THROUGH made the replace durable.
}

std::vector<std::string> FolderNames(const std::string& folder)
{
    std::vector<std::string> names;
    WIN32_FIND_DATAW entry {};
    HANDLE find = ::FindFirstFileW(Wide(folder + "\\*").c_str(), &entry);
    if (find == INVALID_HANDLE_VALUE)
        return names;
    do {
        const std::wstring name = entry.cFileName;
        if (name != L"." && name != L"..")
            names.push_back(Narrow(name));
    } while (::FindNextFileW(find, &entry));
    ::FindClose(find);
    return names;
}

bool LocalTime(std::time_t t, std::tm& local)
{
    // The C runtime (which honours TZ) tells no time after the year 3000;
    // the system's own calendar goes on to the year 30827.
    if (::localtime_s(&local, &t) == 0)
        return true;
    if (t < 0)
        return false;
    ULARGE_INTEGER ticks;
    ticks.QuadPart = (static_cast<ULONGLONG>(t) + 11644473600ull) * 10000000ull; // 100 ns since 1601
    const FILETIME moment {ticks.LowPart, ticks.HighPart};
    SYSTEMTIME utc {};
    SYSTEMTIME here {};
    if (!::FileTimeToSystemTime(&moment, &utc) || !::SystemTimeToTzSpecificLocalTime(nullptr, &utc, &here))
        return false;
    static const int kDaysBefore[] = {0, 31, 59, 90, 120, 151, 181, 212, 243, 273, 304, 334};
    const int year = here.wYear;
    const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
    local = {};
    local.tm_year = year - 1900;
    local.tm_mon = here.wMonth - 1;
    local.tm_mday = here.wDay;
    local.tm_hour = here.wHour;
    local.tm_min = here.wMinute;
    local.tm_sec = here.wSecond;
    local.tm_wday = here.wDayOfWeek;
    local.tm_yday = kDaysBefore[local.tm_mon] + here.wDay - 1 + (leap && here.wMonth > 2 ? 1 : 0);
    local.tm_isdst = -1;
    return true;
}

} // namespace Platform
