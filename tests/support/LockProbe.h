#pragma once
// Whether a running copy of the program holds its one-copy lock.
#include <QString>

// True while some process holds the lock of the working folder: the file
// ".UniqueName.lock" in it on Linux, the session's named mutex derived from
// it on Windows.
bool UniqueLockIsHeld(const QString& workingFolder);
