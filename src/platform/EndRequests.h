#pragma once
// The system's requests to end the program without asking: SIGTERM (logout,
// shutdown), SIGHUP and SIGINT (Ctrl+C) on Linux; Ctrl+C, Ctrl+Break,
// closing the console, logoff and shutdown of a console start on Windows.
// (The desktop session's end of a window reaches the program through Qt's
// session management on both.)
//
// A request is handed to `onRequest` on a watcher thread of its own, never
// inside a signal handler, so onRequest may post an event to the main thread.
// On Windows the system ends the process once a console handler returns, so
// the handler waits (for the system's grace time at most) until the process
// ends by itself, after writing what it must.
#include <functional>

namespace Platform {

// Starts watching; false when the handlers could not be set up (the default
// actions then stay). One watch per process.
bool StartEndRequestWatch(std::function<void()> onRequest);
// Stops watching and restores the default actions.
void StopEndRequestWatch();

// Raises a request as the system would; protected, so only a subclass does:
// a test of the watch.
class EndRequestSource {
protected:
    static void Raise();
};

} // namespace Platform
