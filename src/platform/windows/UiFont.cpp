#include "platform/UiFont.h"

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

} // namespace Platform
