#pragma once
// What the program entry needs besides the window: the single-instance
// guard, Qt's Japanese translations and the application object that turns
// an escaping exception into an error box.
#include "platform/SingleCopyLock.h"

#include <QApplication>
#include <QString>

#include <filesystem>

// Holds the lock "UniqueName" of the working folder for the life of the
// process: one copy per folder, whatever environment each was started in.
// The system drops the lock when the process ends, however it ends, so a
// crashed copy never blocks the next start.
class SingleInstanceGuard {
public:
    explicit SingleInstanceGuard(const std::filesystem::path& folder);
    ~SingleInstanceGuard();
    SingleInstanceGuard(const SingleInstanceGuard&) = delete;
    SingleInstanceGuard& operator=(const SingleInstanceGuard&) = delete;
    // False when the program must not start: another copy works in the
    // folder, or something that is not the lock holds its name and cannot be
    // removed (Refusal() then names it). A lock the system cannot give (a
    // disk error) does not keep the learner out: the program runs, and
    // Warning() says so unless the folder takes no files at all (then no
    // copy can write there, and two cannot overwrite each other).
    bool Acquire();
    // For the learner, in Japanese; empty when there is nothing to tell.
    const QString& Warning() const { return warning_; }
    const QString& Refusal() const { return refusal_; }

private:
    Platform::SingleCopyLock lock_;
    QString warning_;
    QString refusal_;
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
