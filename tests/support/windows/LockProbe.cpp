#include "support/LockProbe.h"

#include "platform/SingleCopyLock.h"

#include <windows.h>

// The lock is the session's named mutex derived from the folder.
bool UniqueLockIsHeld(const QString& workingFolder)
{
    const std::string name = Platform::SingleCopyLock("UniqueName", workingFolder.toStdString()).Where();
    HANDLE mutex = ::OpenMutexA(SYNCHRONIZE, FALSE, name.c_str());
    if (mutex == nullptr)
        return false;
    ::CloseHandle(mutex);
    return true;
}
