#include "platform/SingleCopyLock.h"

#include "platform/windows/Wide.h"

#include <windows.h>

namespace Platform {

SingleCopyLock::SingleCopyLock(std::string name) : name_(std::move(name)) {}

SingleCopyLock::~SingleCopyLock()
{
    if (handle_)
        ::CloseHandle(static_cast<HANDLE>(handle_));
}

std::string SingleCopyLock::Where() const
{
    // The session's namespace: one copy per logged-on user.
    return "Local\\" MIRETO_APP_ID "." + name_;
}

SingleCopyLock::Result SingleCopyLock::Acquire()
{
    if (handle_)
        return Result::Held;
    HANDLE mutex = ::CreateMutexW(nullptr, FALSE, Wide(Where()).c_str());
    if (mutex == nullptr) {
        // Another user's object of that name, or no resources.
        if (::GetLastError() == ERROR_ACCESS_DENIED)
            return Result::TakenByAnother;
        problem_ = Where() + ": error " + std::to_string(::GetLastError());
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
