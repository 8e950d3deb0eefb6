#include "platform/UiFont.h"

namespace Platform {

const std::vector<std::string>& UiFontFamilies()
{
    // Yu Gothic UI is part of every Windows 10 and 11, whatever their
    // language; Meiryo UI and MS UI Gothic come with the Japanese fonts of
    // older or trimmed systems; IPA P Gothic where Wine lends the host's.
    static const std::vector<std::string> families {"Yu Gothic UI", "Meiryo UI", "MS UI Gothic", "IPAPGothic"};
    return families;
}

} // namespace Platform
