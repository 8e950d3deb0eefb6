#include "TestEnvironment.h"

#include "platform/UiFont.h"

#include <cstdlib>
#include <ctime>
#include <string>
#include <sys/stat.h>

void SetUpTestEnvironment()
{
    ::setenv("TZ", "UTC", 1);
    ::tzset();
    ::setenv("LANG", "C.UTF-8", 1);
    ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
    Platform::PrepareOffscreenFonts();
    const std::string runtime = std::string(MIRETO_BINARY_DIR) + "/test-runtime";
    ::mkdir(runtime.c_str(), 0700);
    ::chmod(runtime.c_str(), 0700);
    ::setenv("XDG_RUNTIME_DIR", runtime.c_str(), 1);
}

// Sanitizer settings are read before main() runs, so they are compiled in.
extern "C" const char* __asan_default_options()
{
    return "detect_leaks=1:abort_on_error=0";
}

extern "C" const char* __ubsan_default_options()
{
    return "print_stacktrace=1:halt_on_error=1";
}

// Allocations that system libraries keep for the life of the process.
extern "C" const char* __lsan_default_suppressions()
{
    return "leak:libfontconfig\nleak:libQt6Gui\nleak:libQt6Core\nleak:libQt6Widgets\nleak:libdbus\nleak:libglib\n";
}
