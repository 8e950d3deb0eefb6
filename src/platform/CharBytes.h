#pragma once
// The byte rules of the two encodings the program converts between, written
// once: which bytes make a Shift_JIS (code page 932) character, and how many
// bytes a UTF-8 lead byte announces. The text layer and both platform sides
// read them from here.
#include <cstddef>

namespace Platform {

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

// The length (1 to 4) of the UTF-8 character that starts with this byte, or
// 0 for a byte no character starts with (a continuation byte, 0xF8 and up).
constexpr std::size_t Utf8LengthOfLead(unsigned char b)
{
    return b < 0x80 ? 1 : (b & 0xE0) == 0xC0 ? 2 : (b & 0xF0) == 0xE0 ? 3 : (b & 0xF8) == 0xF0 ? 4 : 0;
}

} // namespace Platform
