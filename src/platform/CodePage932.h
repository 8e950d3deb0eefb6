#pragma once
// Conversion between code page 932 (Microsoft's Shift_JIS, the data files'
// encoding) and UTF-8: glibc iconv "CP932" on Linux, the system's code page
// 932 on Windows. Both give the same bytes for every JIS X 0208 character,
// every half-width katakana and ASCII (tests/platform compares each code).
#include <string>

namespace Platform {

// Converts all of input. A byte sequence that is not a character of the
// source encoding, or a character the target lacks, becomes `replacement`
// and the conversion goes on after it. False when anything was replaced.
bool Cp932ToUtf8(const std::string& input, std::string& output, const std::string& replacement);
bool Utf8ToCp932(const std::string& input, std::string& output, const std::string& replacement);

} // namespace Platform
