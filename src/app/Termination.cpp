#include "app/Termination.h"

#include "text/EndRequest.h"

#include <QSocketNotifier>

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <unistd.h>

namespace {

constexpr int kSignals[] = {SIGTERM, SIGHUP, SIGINT};
constexpr int kSignalCount = sizeof kSignals / sizeof kSignals[0];

// The pipe's write end, read by the handler: a plain int that is set before
// the handlers are installed and cleared after they are removed.
volatile sig_atomic_t g_writeEnd = -1;
int g_pipe[2] = {-1, -1};
struct sigaction g_oldActions[kSignalCount];

extern "C" void OnTerminationSignal(int)
{
    const int savedErrno = errno;
    const char byte = 1;
    // Non-blocking: a pipe already full of requests just drops this one.
    [[maybe_unused]] ssize_t n = ::write(g_writeEnd, &byte, 1);
    // Long work in progress (a picture being decoded) sees this and stops.
    RequestEndNow();
    errno = savedErrno;
}

} // namespace

TerminationWatcher::TerminationWatcher(std::function<void()> onEnd, QObject* parent)
    : QObject(parent)
    , onEnd_(std::move(onEnd))
{
    if (g_writeEnd >= 0 || ::pipe2(g_pipe, O_CLOEXEC | O_NONBLOCK) != 0)
        return; // one watcher per process
    g_writeEnd = g_pipe[1];
    notifier_ = new QSocketNotifier(g_pipe[0], QSocketNotifier::Read, this);
    connect(notifier_, &QSocketNotifier::activated, this, &TerminationWatcher::ReadPipe);

    struct sigaction action {};
    action.sa_handler = OnTerminationSignal;
    sigemptyset(&action.sa_mask);
    // Interrupted system calls (a database write in progress) go on.
    action.sa_flags = SA_RESTART;
    installed_ = true;
    for (int i = 0; i < kSignalCount; ++i)
        installed_ = ::sigaction(kSignals[i], &action, &g_oldActions[i]) == 0 && installed_;
}

TerminationWatcher::~TerminationWatcher()
{
    if (!notifier_)
        return;
    for (int i = 0; i < kSignalCount; ++i)
        ::sigaction(kSignals[i], &g_oldActions[i], nullptr);
    g_writeEnd = -1;
    delete notifier_;
    ::close(g_pipe[0]);
    ::close(g_pipe[1]);
    g_pipe[0] = g_pipe[1] = -1;
}

void TerminationWatcher::ReadPipe()
{
    char buffer[64];
    while (::read(g_pipe[0], buffer, sizeof buffer) > 0) {
    }
    RequestEnd();
}

void TerminationWatcher::RequestEnd()
{
    // Two signals in a row, or a signal after the session's end: the first
    // one does the work.
    if (ended_)
        return;
    ended_ = true;
    if (onEnd_)
        onEnd_();
}
