#include "text/EndRequest.h"

#include <csignal>

namespace {
volatile std::sig_atomic_t g_endRequested = 0;
}

void RequestEndNow()
{
    g_endRequested = 1;
}

bool EndRequested()
{
    return g_endRequested != 0;
}

void EndRequestState::Clear()
{
    g_endRequested = 0;
}
