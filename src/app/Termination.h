#pragma once
// Ending cleanly when the system asks (platform/EndRequests.h: SIGTERM,
// SIGHUP, SIGINT on Linux; Ctrl+C, the console's close, logoff and shutdown
// of a console start on Windows) and at the end of the desktop session
// through Qt's session management (on Windows WM_QUERYENDSESSION).
//
// The request is queued into the event loop, where the learner's progress
// can be written like any other event's work. It also arrives while a modal
// message box runs its own event loop.
#include <QObject>

#include <functional>

class TerminationWatcher : public QObject {
    Q_OBJECT

public:
    // Installs the handlers; onEnd runs once, on the first request, however
    // many signals follow. The old handlers come back on destruction.
    explicit TerminationWatcher(std::function<void()> onEnd, QObject* parent = nullptr);
    ~TerminationWatcher() override;
    TerminationWatcher(const TerminationWatcher&) = delete;
    TerminationWatcher& operator=(const TerminationWatcher&) = delete;

    // False when the handlers could not be set up, or another watcher runs
    // (the default actions then stay in place).
    bool Installed() const { return installed_; }
    // True once a request has been handled.
    bool Ended() const { return ended_; }
    // Handles a request now, as a signal would (the session's end calls it).
    void RequestEnd();

private:
    std::function<void()> onEnd_;
    bool installed_ = false;
    bool ended_ = false;
};
