#pragma once
// A request to end the program (a termination signal, the end of the desktop
// session) that long work checks between its steps, so that the program ends
// within a second even while it decodes a hostile picture. Setting it is
// async-signal-safe; the request itself is carried out by the event loop.

// Called from a signal handler or the session's end.
void RequestEndNow();
// True once an end was requested; long loops give up their work then.
bool EndRequested();

// Forgets a request; protected, so only a subclass does: a test that made one.
class EndRequestState {
protected:
    static void Clear();
};
