#include "platform/EndRequests.h"

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <thread>
#include <unistd.h>

namespace {

constexpr int kSignals[] = {SIGTERM, SIGHUP, SIGINT};
constexpr int kSignalCount = sizeof kSignals / sizeof kSignals[0];
constexpr char kRequest = 1;
constexpr char kStop = 2;

// The pipe's write end, read by the handler: a plain int that is set before
// the handlers are installed and cleared after they are removed.
volatile sig_atomic_t g_writeEnd = -1;
int g_pipe[2] = {-1, -1};
struct sigaction g_oldActions[kSignalCount];
std::thread* g_watcher = nullptr;

// A signal handler only writes one byte to the pipe, the one thing that is
// async-signal-safe; the watcher thread does the rest.
extern "C" void OnEndSignal(int)
{
    const int savedErrno = errno;
    // Non-blocking: a pipe already full of requests just drops this one.
    [[maybe_unused]] ssize_t n = ::write(g_writeEnd, &kRequest, 1);
    errno = savedErrno;
}

void Watch(int readEnd, std::function<void()> onRequest)
{
    for (;;) {
        char byte = 0;
        const ssize_t n = ::read(readEnd, &byte, 1);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0 || byte == kStop)
            return;
        onRequest();
    }
}

} // namespace

namespace Platform {

bool StartEndRequestWatch(std::function<void()> onRequest)
{
    if (g_writeEnd >= 0 || ::pipe2(g_pipe, O_CLOEXEC) != 0)
        return false; // one watch per process
    // Only the signal handler's end must never block.
    ::fcntl(g_pipe[1], F_SETFL, O_NONBLOCK);
    g_writeEnd = g_pipe[1];
    g_watcher = new std::thread(Watch, g_pipe[0], std::move(onRequest));

    struct sigaction action {};
    action.sa_handler = OnEndSignal;
    sigemptyset(&action.sa_mask);
    // Interrupted system calls (a database write in progress) go on.
    action.sa_flags = SA_RESTART;
    bool installed = true;
    for (int i = 0; i < kSignalCount; ++i)
        installed = ::sigaction(kSignals[i], &action, &g_oldActions[i]) == 0 && installed;
    if (!installed)
        StopEndRequestWatch();
    return installed;
}

void StopEndRequestWatch()
{
    if (!g_watcher)
        return;
    for (int i = 0; i < kSignalCount; ++i)
        ::sigaction(kSignals[i], &g_oldActions[i], nullptr);
    g_writeEnd = -1;
    // Blocking, so the stop byte always gets through.
    ::fcntl(g_pipe[1], F_SETFL, 0);
    [[maybe_unused]] ssize_t n = ::write(g_pipe[1], &kStop, 1);
    g_watcher->join();
    delete g_watcher;
    g_watcher = nullptr;
    ::close(g_pipe[0]);
    ::close(g_pipe[1]);
    g_pipe[0] = g_pipe[1] = -1;
}

void EndRequestSource::Raise()
{
    ::raise(SIGTERM);
}

} // namespace Platform
