#pragma once
// UTF-8 <-> UTF-16 at the edge of the Windows API.
#include <string>

namespace Platform {

std::wstring Wide(const std::string& utf8);
std::string Narrow(const std::wstring& wide);
std::string Narrow(const wchar_t* wide);

} // namespace Platform
