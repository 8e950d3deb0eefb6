#include "bank/JisTable.h"

#include "text/SjisCodec.h"

#include <array>
#include <cstdint>
#include <vector>

namespace {


struct Tables {
    // By two-byte code: UTF-8 bytes in the low 24 bits (first byte lowest),
    // their count in the top 8; 0 for a code the table does not carry.
    std::vector<std::uint32_t> toUtf8 = std::vector<std::uint32_t>(0x10000);
    // By code point (BMP): the two-byte code; 0 for none.
    std::vector<std::uint16_t> toSjis = std::vector<std::uint16_t>(0x10000);
    std::vector<bool> roundTrips = std::vector<bool>(0x10000);
    // ASCII bytes iconv keeps as they are, in both directions.
    std::array<bool, 128> asciiSame {};
};

// The code point of UTF-8 text holding exactly one character, or -1.
long OneCodePoint(const std::string& utf8)
{
    char32_t cp = 0;
    return !utf8.empty() && Utf8CharLength(utf8, 0, cp) == utf8.size() ? static_cast<long>(cp) : -1;
}

const Tables& Table()
{
    static const Tables tables = [] {
        Tables t;
        // A probe character keeps iconv in use for single ASCII bytes.
        const std::string probeSjis = "\x82\xA0"; // あ
        const std::string probeUtf8 = SjisToUtf8(probeSjis);
        for (unsigned b = 0; b < 0x80; ++b) {
            const std::string one(1, static_cast<char>(b));
            std::string back;
            t.asciiSame[b] = SjisToUtf8(one + probeSjis) == one + probeUtf8 &&
                             Utf8ToSjis(one + probeUtf8, back) && back == one + probeSjis;
        }
        for (unsigned lead = 0x81; lead <= 0xFC; ++lead) {
            if (!IsSjisLead(lead))
                continue;
            for (unsigned trail = 0x40; trail <= 0xFC; ++trail) {
                if (!IsSjisTrail(trail))
                    continue;
                const std::string pair {static_cast<char>(lead), static_cast<char>(trail)};
                const std::string utf8 = SjisToUtf8(pair);
                std::string back;
                const unsigned code = lead << 8 | trail;
                if (utf8.find("\xEF\xBF\xBD") != std::string::npos || !Utf8ToSjis(utf8, back) || back != pair)
                    continue;
                t.roundTrips[code] = true;
                const long cp = OneCodePoint(utf8);
                if (JisExtensionReason(lead) || cp < 0x80 || cp > 0xFFFF)
                    continue;
                std::uint32_t packed = static_cast<std::uint32_t>(utf8.size()) << 24;
                for (std::size_t k = 0; k < utf8.size(); ++k)
                    packed |= static_cast<std::uint32_t>(static_cast<unsigned char>(utf8[k])) << (8 * k);
                t.toUtf8[code] = packed;
                t.toSjis[static_cast<std::size_t>(cp)] = static_cast<std::uint16_t>(code);
            }
        }
        return t;
    }();
    return tables;
}

} // namespace

const char* JisExtensionReason(unsigned lead)
{
    if (lead == 0x87)
        return "an NEC special character (row 13), not in JIS X 0208";
    if (lead == 0xED || lead == 0xEE || (lead >= 0xFA && lead <= 0xFC))
        return "an IBM extension character, not in JIS X 0208";
    if (lead >= 0xF0 && lead <= 0xF9)
        return "a user-defined character, not in JIS X 0208";
    if (lead == 0x85 || lead == 0x86 || (lead >= 0xEB && lead <= 0xEF))
        return "not a JIS X 0208 character";
    return nullptr;
}

bool JisPairClean(unsigned char lead, unsigned char trail)
{
    return Table().toUtf8[static_cast<unsigned>(lead) << 8 | trail] != 0;
}

bool JisPairRoundTrips(unsigned char lead, unsigned char trail)
{
    return Table().roundTrips[static_cast<unsigned>(lead) << 8 | trail];
}

bool AppendJisCellAsUtf8(std::string_view cell, std::string& out)
{
    const Tables& t = Table();
    const std::size_t start = out.size();
    for (std::size_t i = 0; i < cell.size();) {
        auto b = static_cast<unsigned char>(cell[i]);
        if (b < 0x80) {
            // Runs of ASCII are copied whole.
            std::size_t end = i + 1;
            while (end < cell.size() && static_cast<unsigned char>(cell[end]) < 0x80)
                ++end;
            for (std::size_t k = i; k < end; ++k)
                if (!t.asciiSame[static_cast<unsigned char>(cell[k])]) {
                    out.resize(start);
                    return false;
                }
            out.append(cell.data() + i, end - i);
            i = end;
            continue;
        }
        if (i + 1 >= cell.size()) {
            out.resize(start);
            return false;
        }
        const std::uint32_t packed = t.toUtf8[static_cast<unsigned>(b) << 8 | static_cast<unsigned char>(cell[i + 1])];
        if (packed == 0) {
            out.resize(start);
            return false;
        }
        const char bytes[3] = {static_cast<char>(packed & 0xFF), static_cast<char>(packed >> 8 & 0xFF),
                               static_cast<char>(packed >> 16 & 0xFF)};
        out.append(bytes, packed >> 24);
        i += 2;
    }
    return true;
}

bool AppendUtf8AsJisCell(std::string_view text, std::string& out)
{
    const Tables& t = Table();
    const std::size_t start = out.size();
    for (std::size_t i = 0; i < text.size();) {
        auto b = static_cast<unsigned char>(text[i]);
        if (b < 0x80) {
            if (!t.asciiSame[b]) {
                out.resize(start);
                return false;
            }
            out += static_cast<char>(b);
            ++i;
            continue;
        }
        // Two- and three-byte forms only: every JIS X 0208 character is in
        // the BMP. A malformed or overlong form has no length.
        char32_t cp = 0;
        const std::size_t length = Utf8CharLength(text, i, cp);
        const std::uint16_t code = length == 2 || length == 3 ? t.toSjis[cp] : 0;
        if (code == 0) {
            out.resize(start);
            return false;
        }
        out += static_cast<char>(code >> 8);
        out += static_cast<char>(code & 0xFF);
        i += length;
    }
    return true;
}
