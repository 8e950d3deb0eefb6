#pragma once
// Whether a running copy of the program holds its one-copy lock.
#include <QString>

// True while some process holds the lock file "UniqueName.lock" in the
// given runtime folder.
bool UniqueLockIsHeld(const QString& runtimeFolder);
