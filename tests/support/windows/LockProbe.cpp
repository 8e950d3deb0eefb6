#include "support/LockProbe.h"

#include "platform/SingleCopyLock.h"

#include <windows.h>

// The lock is the session's named mutex; the runtime folder plays no part.
bool UniqueLockIsHeld(const QString&)
{
    const std::string name = Platform::SingleCopyLock("UniqueName").Where();
    HANDLE mutex = ::OpenMutexA(SYNCHRONIZE, FALSE, name.c_str());
    if (mutex == nullptr)
        return false;
    ::CloseHandle(mutex);
    return true;
}
