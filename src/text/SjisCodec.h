#pragma once
// Conversion between the Shift_JIS bytes of the data files and UTF-8, with
// glibc iconv ("CP932"). Qt-free: the bank tool uses it as well as the window.
#include <string>

// Shift_JIS (code page 932) bytes to UTF-8. Bytes that are not valid
// Shift_JIS become U+FFFD, so a damaged cell still shows.
std::string SjisToUtf8(const std::string& sjis);
// UTF-8 to Shift_JIS. Returns false when a character has no Shift_JIS form
// (the output then holds "?" in its place) or the input is not UTF-8.
bool Utf8ToSjis(const std::string& utf8, std::string& sjis);
