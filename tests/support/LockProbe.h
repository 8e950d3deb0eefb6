#pragma once
// Whether a running copy of the program holds its one-copy lock.
#include <QString>

// True while some process holds the lock: the file "UniqueName.lock" in the
// given runtime folder on Linux, the session's named mutex on Windows.
bool UniqueLockIsHeld(const QString& runtimeFolder);
