#include "platform/EndRequests.h"

#include <windows.h>

namespace {

std::function<void()>* g_onRequest = nullptr;

// Runs on a thread the system makes for each console event.
BOOL WINAPI OnConsoleEvent(DWORD event)
{
    if (!g_onRequest)
        return FALSE;
    (*g_onRequest)();
    if (event == CTRL_C_EVENT || event == CTRL_BREAK_EVENT)
        return TRUE; // the program ends itself once it has written
    // Closing the console, logoff, shutdown: the system ends the process as
    // soon as this returns, so wait until the program has ended by itself
    // (the system's grace time bounds the wait).
    ::Sleep(INFINITE);
    return TRUE;
}

} // namespace

namespace Platform {

bool StartEndRequestWatch(std::function<void()> onRequest)
{
    if (g_onRequest)
        return false; // one watch per process
    g_onRequest = new std::function<void()>(std::move(onRequest));
    if (!::SetConsoleCtrlHandler(OnConsoleEvent, TRUE)) {
        delete g_onRequest;
        g_onRequest = nullptr;
        return false;
    }
    return true;
}

void StopEndRequestWatch()
{
    if (!g_onRequest)
        return;
    ::SetConsoleCtrlHandler(OnConsoleEvent, FALSE);
    delete g_onRequest;
    g_onRequest = nullptr;
}

void EndRequestSource::Raise()
{
    // As the system would: the handler on a thread of its own.
    HANDLE thread = ::CreateThread(
        nullptr, 0, [](LPVOID) -> DWORD { return OnConsoleEvent(CTRL_C_EVENT) ? 0 : 1; }, nullptr, 0, nullptr);
    if (thread)
        ::CloseHandle(thread);
}

} // namespace Platform
