// Ends the Windows session for one program, as logging off does: sends its
// window WM_QUERYENDSESSION, then WM_ENDSESSION with the answer. Used by the
// installer test (installer-test.sh); not part of the program.
//
//   mireto_end_session "<window title>"
// Exit status: 0 when the window was found and answered, 1 when it was not
// found, 2 when it did not answer in time.
#include <windows.h>
#include <shellapi.h>

#include <cstdio>

int main()
{
    int argc = 0;
    wchar_t** argv = ::CommandLineToArgvW(::GetCommandLineW(), &argc);
    if (argv == nullptr || argc != 2) {
        std::fprintf(stderr, "usage: mireto_end_session TITLE\n");
        return 1;
    }
    HWND window = ::FindWindowW(nullptr, argv[1]);
    if (window == nullptr) {
        std::fprintf(stderr, "mireto_end_session: no window of that title\n");
        return 1;
    }
    DWORD_PTR canEnd = 0;
    if (!::SendMessageTimeoutW(window, WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF, SMTO_ABORTIFHUNG, 20000, &canEnd))
        return 2;
    std::printf("WM_QUERYENDSESSION answered %s\n", canEnd ? "TRUE" : "FALSE");
    DWORD_PTR ignored = 0;
    // The program may be gone by now; then there is nothing left to tell.
    ::SendMessageTimeoutW(window, WM_ENDSESSION, canEnd ? TRUE : FALSE, ENDSESSION_LOGOFF, SMTO_ABORTIFHUNG, 20000,
                          &ignored);
    return 0;
}
