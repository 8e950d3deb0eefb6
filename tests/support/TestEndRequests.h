#pragma once
// Requests to end the program, made and forgotten by a test.
#include "platform/EndRequests.h"
#include "text/EndRequest.h"

struct TestEndRequests : EndRequestState, Platform::EndRequestSource {
    // A request as the system makes one (a signal, a console event).
    static void Raise() { EndRequestSource::Raise(); }
    // Forgets a request the test made (RequestEndNow).
    static void Clear() { EndRequestState::Clear(); }
};
