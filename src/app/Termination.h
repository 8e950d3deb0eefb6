#pragma once
// Ending cleanly when the system asks: SIGTERM (logout, shutdown), SIGHUP
// (the terminal or session went away), SIGINT (Ctrl+C) and the end of the
// desktop session through Qt's session management.
//
// The signal handler only writes one byte to a pipe, the one thing that is
// async-signal-safe; a QSocketNotifier on the other end brings the request
// into the event loop, where the learner's progress can be written like any
// other event's work. The request also arrives while a modal message box
// runs its own event loop.
#include <QObject>

#include <functional>

class QSocketNotifier;

class TerminationWatcher : public QObject {
    Q_OBJECT

public:
    // Installs the handlers; onEnd runs once, on the first request, however
    // many signals follow. The old handlers come back on destruction.
    explicit TerminationWatcher(std::function<void()> onEnd, QObject* parent = nullptr);
    ~TerminationWatcher() override;
    TerminationWatcher(const TerminationWatcher&) = delete;
    TerminationWatcher& operator=(const TerminationWatcher&) = delete;

    // False when the pipe or a handler could not be set up (the default
    // actions then stay in place).
    bool Installed() const { return installed_; }
    // True once a request has been handled.
    bool Ended() const { return ended_; }
    // Handles a request now, as a signal would (the session's end calls it).
    void RequestEnd();

private:
    void ReadPipe();

    std::function<void()> onEnd_;
    QSocketNotifier* notifier_ = nullptr;
    bool installed_ = false;
    bool ended_ = false;
};
