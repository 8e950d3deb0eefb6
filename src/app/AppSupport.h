#pragma once
// What the program entry needs besides the window: the single-instance
// guard, Qt's Japanese translations and the application object that turns
// an escaping exception into an error box.
#include "platform/SingleCopyLock.h"

#include <QApplication>
#include <QString>

// Holds the per-user lock "UniqueName" for the life of the process. The
// system drops the lock when the process ends, however it ends, so a crashed
// copy never blocks the next start.
class SingleInstanceGuard {
public:
    SingleInstanceGuard();
    ~SingleInstanceGuard();
    SingleInstanceGuard(const SingleInstanceGuard&) = delete;
    SingleInstanceGuard& operator=(const SingleInstanceGuard&) = delete;
    // False when another copy holds the lock. A lock file that cannot be
    // made at all is reported on standard error and the program runs.
    bool Acquire();
    // The lock file (Linux) or mutex (Windows) that holds the lock.
    static QString LockFilePath();

private:
    Platform::SingleCopyLock lock_;
};

// Installs Qt's own Japanese texts (はい(&Y) / いいえ(&N) on message boxes).
bool InstallJapaneseTranslations(QCoreApplication& app);

class MiretoApplication : public QApplication {
public:
    MiretoApplication(int& argc, char** argv);
    // An exception escaping a handler is shown in an error box with its
    // message; the program goes on, so the learner can still close and save.
    bool notify(QObject* receiver, QEvent* event) override;
};

// The error box for an exception that escaped start-up or a handler.
void ShowExceptionBox(const QString& message);
