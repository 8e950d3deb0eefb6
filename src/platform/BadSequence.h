#pragma once
// How much of the input a character that cannot be converted takes, the same
// on both sides: a lead byte with its trail byte (a pair that names no
// character), any other byte alone; a UTF-8 lead byte with the continuation
// bytes that follow it. Nothing after the bad character is lost with it.
#include "platform/CharBytes.h"

#include <algorithm>
#include <cstddef>

namespace Platform {

inline std::size_t BadCp932Length(const unsigned char* data, std::size_t left)
{
    return IsSjisLead(data[0]) && left >= 2 && IsSjisTrail(data[1]) ? 2 : 1;
}

inline std::size_t BadUtf8Length(const unsigned char* data, std::size_t left)
{
    // A byte no character starts with goes alone.
    const std::size_t wanted = std::max<std::size_t>(1, Utf8LengthOfLead(data[0]));
    std::size_t n = 1;
    while (n < wanted && n < left && (data[n] & 0xC0) == 0x80)
        ++n;
    return n;
}

} // namespace Platform
