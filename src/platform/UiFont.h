#pragma once
// The Japanese UI font families to ask for, first choice first. On Linux
// IPA P Gothic stands in for "ＭＳ Ｐゴシック" and "MS UI Gothic"; on
// Windows a family every supported Windows has is listed first.
#include <string>
#include <vector>

namespace Platform {

const std::vector<std::string>& UiFontFamilies();

// Qt's offscreen platform (the tests', the picture tool's) reads its fonts
// from one folder on Windows: unless QT_QPA_FONTDIR names one, the system's
// font folder. Nothing on Linux, where fontconfig finds the fonts. Call it
// before the Qt application is made.
void PrepareOffscreenFonts();

} // namespace Platform
