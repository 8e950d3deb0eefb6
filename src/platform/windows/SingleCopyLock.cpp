#include "platform/SingleCopyLock.h"

#include "platform/Fnv1a.h"
#include "platform/windows/Wide.h"

#include <windows.h>

#include <cstdint>
#include <cstdio>

namespace {

// The folder's final path (links, junctions and short names resolved),
// lower-cased: every way of naming one folder gives the same text.
std::wstring FolderKey(const std::wstring& folder)
{
    std::wstring path;
    HANDLE dir = ::CreateFileW(folder.c_str(), FILE_READ_ATTRIBUTES,
                               FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                               FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (dir != INVALID_HANDLE_VALUE) {
        const DWORD size = ::GetFinalPathNameByHandleW(dir, nullptr, 0, FILE_NAME_NORMALIZED);
        if (size > 0) {
            path.resize(size);
            const DWORD got = ::GetFinalPathNameByHandleW(dir, path.data(), size, FILE_NAME_NORMALIZED);
            path.resize(got < size ? got : 0);
        }
        ::CloseHandle(dir);
    }
    if (path.empty()) {
        const DWORD size = ::GetFullPathNameW(folder.c_str(), 0, nullptr, nullptr);
        if (size > 0) {
            path.resize(size);
            const DWORD got = ::GetFullPathNameW(folder.c_str(), size, path.data(), nullptr);
            path.resize(got < size ? got : 0);
        }
    }
    if (path.empty())
        path = folder;
    ::CharLowerBuffW(path.data(), static_cast<DWORD>(path.size()));
    return path;
}

} // namespace

namespace Platform {

SingleCopyLock::SingleCopyLock(std::string name, std::string folder)
    : name_(std::move(name)), folder_(std::move(folder))
{
}

SingleCopyLock::~SingleCopyLock()
{
    if (handle_)
        ::CloseHandle(static_cast<HANDLE>(handle_));
}

std::string SingleCopyLock::Where() const
{
    // The session's namespace; one name per folder (FNV-1a of its key).
    Platform::Fnv1a64 hash;
    for (wchar_t unit : FolderKey(Wide(folder_)))
        hash.Add(static_cast<std::uint16_t>(unit));
    char hex[17];
    std::snprintf(hex, sizeof hex, "%016llx", static_cast<unsigned long long>(hash.Value()));
    return "Local\\" MIRETO_APP_ID "." + name_ + "." + hex;
}

SingleCopyLock::Result SingleCopyLock::Acquire()
{
    if (handle_)
        return Result::Held;
    const std::string where = Where();
    HANDLE mutex = ::CreateMutexW(nullptr, FALSE, Wide(where).c_str());
    if (mutex == nullptr) {
        // Another user's object of that name (which must not keep the
        // learner out), or no resources.
        problem_ = where + ": error " + std::to_string(::GetLastError());
        return Result::Unavailable;
    }
    if (::GetLastError() == ERROR_ALREADY_EXISTS) {
        ::CloseHandle(mutex);
        return Result::TakenByAnother;
    }
    handle_ = mutex;
    return Result::Held;
}

} // namespace Platform
