#pragma once
// The conversion from Shift_JIS to EUC-JP and back, as the table reader's
// description states it: the tests' reference for what reading makes of
// every two-byte character (a byte from 0x80 up and the byte after it).
#include <string>

namespace EucOracle {

// Rewrites every two-byte character of a text in place: a byte from 0x80 up
// and the byte after it. A lone last byte is left as it is.
template <typename PairMap>
inline std::string MapDoubleBytes(const std::string& text, PairMap map)
{
    std::string out = text;
    for (std::size_t i = 0; i + 1 < out.size(); ++i) {
        auto c1 = static_cast<unsigned char>(out[i]);
        if (c1 < 0x80)
            continue;
        auto c2 = static_cast<unsigned char>(out[i + 1]);
        map(c1, c2);
        out[i] = static_cast<char>(c1);
        out[i + 1] = static_cast<char>(c2);
        ++i;
    }
    return out;
}

inline std::string SjisToEuc(const std::string& text)
{
    return MapDoubleBytes(text, [](unsigned char& c1, unsigned char& c2) {
        unsigned char d = static_cast<unsigned char>(c1 * 2);
        if (c2 >= 0x9F) {
            c1 = static_cast<unsigned char>(d + (d < 0x3F ? 0xA0 : 0x20));
            c2 = static_cast<unsigned char>(c2 + 2);
        } else {
            c1 = static_cast<unsigned char>(d + (d < 0x3F ? 0x9F : 0x1F));
            c2 = static_cast<unsigned char>(c2 + (c2 >= 0x7F ? 0x60 : 0x61));
        }
    });
}

inline std::string EucToSjis(const std::string& text)
{
    return MapDoubleBytes(text, [](unsigned char& c1, unsigned char& c2) {
        unsigned char h = static_cast<unsigned char>(c1 >> 1);
        if (c1 & 1) {
            c1 = static_cast<unsigned char>(h + (h >= 0x6F ? 0x71 : 0x31));
            c2 = static_cast<unsigned char>(c2 - (c2 < 0xE0 ? 0x61 : 0x60));
        } else {
            c1 = static_cast<unsigned char>(h + (h >= 0x70 ? 0x70 : 0x30));
            c2 = static_cast<unsigned char>(c2 - 2);
        }
    });
}


} // namespace EucOracle
using EucOracle::EucToSjis;
using EucOracle::SjisToEuc;
