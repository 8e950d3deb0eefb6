#include "platform/UiFont.h"

#include <cstdlib>
#include <windows.h>

namespace Platform {

const std::vector<std::string>& UiFontFamilies()
{
    // MS UI Gothic first: the window's fixed layout was made for its
    // metrics (IPA P Gothic has the same), and every Japanese Windows has it.
    // Yu Gothic UI is part of every Windows 10 and 11 whatever its language;
    // Meiryo UI after it; IPA P Gothic where Wine lends the host's fonts.
    static const std::vector<std::string> families {"MS UI Gothic", "Yu Gothic UI", "Meiryo UI", "IPAPGothic"};
    return families;
}

void PrepareOffscreenFonts()
{
    const wchar_t* given = ::_wgetenv(L"QT_QPA_FONTDIR");
    if (given != nullptr && *given != L'\0')
        return;
    wchar_t folder[MAX_PATH];
    const UINT n = ::GetWindowsDirectoryW(folder, MAX_PATH);
    if (n == 0 || n >= MAX_PATH)
        return;
    ::_wputenv_s(L"QT_QPA_FONTDIR", (std::wstring(folder, n) + L"\\Fonts").c_str());
}

} // namespace Platform
