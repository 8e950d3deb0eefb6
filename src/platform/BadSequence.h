#pragma once
// How much of the input a character that cannot be converted takes, the same
// on both sides: a lead byte with its trail byte (a pair that names no
// character), any other byte alone; a UTF-8 lead byte with the continuation
// bytes that follow it. Nothing after the bad character is lost with it.
#include <cstddef>

namespace Platform {

inline std::size_t BadCp932Length(const unsigned char* data, std::size_t left)
{
    const unsigned char lead = data[0];
    const bool isLead = (lead >= 0x81 && lead <= 0x9F) || (lead >= 0xE0 && lead <= 0xFC);
    const bool trailFollows = left >= 2 && data[1] >= 0x40 && data[1] <= 0xFC && data[1] != 0x7F;
    return isLead && trailFollows ? 2 : 1;
}

inline std::size_t BadUtf8Length(const unsigned char* data, std::size_t left)
{
    const unsigned char lead = data[0];
    const std::size_t wanted = lead >= 0xF8 ? 1 : lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 1;
    std::size_t n = 1;
    while (n < wanted && n < left && (data[n] & 0xC0) == 0x80)
        ++n;
    return n;
}

} // namespace Platform
