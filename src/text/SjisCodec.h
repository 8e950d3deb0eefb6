#pragma once
// Conversion between the Shift_JIS bytes of the data files and UTF-8 (code
// page 932, platform/CodePage932.h). Qt-free: the bank tool uses it as well
// as the window.
#include <string>

// Shift_JIS (code page 932) bytes to UTF-8. Bytes that are not valid
// Shift_JIS become U+FFFD, so a damaged cell still shows.
std::string SjisToUtf8(const std::string& sjis);
// UTF-8 to Shift_JIS. Returns false when a character has no Shift_JIS form
// (the output then holds "?" in its place) or the input is not UTF-8.
bool Utf8ToSjis(const std::string& utf8, std::string& sjis);
// Shift_JIS to UTF-8 only when the UTF-8 converts back to the very same
// bytes: false for bytes that are not Shift_JIS or name no character.
bool SjisToUtf8Exactly(const std::string& sjis, std::string& utf8);

// The first byte of a two-byte Shift_JIS character.
constexpr bool IsSjisLead(unsigned char b)
{
    return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
}
// A byte that may follow a lead byte.
constexpr bool IsSjisTrail(unsigned char b)
{
    return b >= 0x40 && b <= 0xFC && b != 0x7F;
}
