#include "app/Termination.h"

#include "platform/EndRequests.h"
#include "text/EndRequest.h"

#include <QMetaObject>

TerminationWatcher::TerminationWatcher(std::function<void()> onEnd, QObject* parent)
    : QObject(parent)
    , onEnd_(std::move(onEnd))
{
    // The request arrives on the platform's watcher thread; it is queued into
    // this object's thread, where the work runs like any event's.
    installed_ = Platform::StartEndRequestWatch([this] {
        // Long work in progress (a picture being decoded) sees this and stops.
        RequestEndNow();
        QMetaObject::invokeMethod(this, &TerminationWatcher::RequestEnd, Qt::QueuedConnection);
    });
}

TerminationWatcher::~TerminationWatcher()
{
    if (installed_)
        Platform::StopEndRequestWatch();
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
