#pragma once
// The Japanese UI font families to ask for, first choice first. On Linux
// IPA P Gothic stands in for "ＭＳ Ｐゴシック" and "MS UI Gothic"; on
// Windows a family every supported Windows has is listed first.
#include <string>
#include <vector>

namespace Platform {

const std::vector<std::string>& UiFontFamilies();

} // namespace Platform
