#include "platform/UiFont.h"

namespace Platform {

const std::vector<std::string>& UiFontFamilies()
{
    static const std::vector<std::string> families {"IPAPGothic"};
    return families;
}

void PrepareOffscreenFonts() {}

} // namespace Platform
