#include "text/SjisCodec.h"

#include "platform/CodePage932.h"

#include <algorithm>
#include <cerrno>

namespace {

bool IsAscii(const std::string& text)
{
    return std::all_of(text.begin(), text.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

} // namespace

std::size_t Utf8CharLength(std::string_view text, std::size_t position, char32_t& codePoint)
{
    const auto b = static_cast<unsigned char>(text[position]);
    const std::size_t length = Platform::Utf8LengthOfLead(b);
    if (length == 0 || position + length > text.size())
        return 0;
    char32_t cp = length == 1 ? b : length == 2 ? (b & 0x1F) : length == 3 ? (b & 0x0F) : (b & 0x07);
    for (std::size_t k = 1; k < length; ++k) {
        const auto c = static_cast<unsigned char>(text[position + k]);
        if ((c & 0xC0) != 0x80)
            return 0;
        cp = (cp << 6) | (c & 0x3F);
    }
    static const char32_t kMinimum[] = {0, 0, 0x80, 0x800, 0x10000};
    if (cp < kMinimum[length] || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF))
        return 0;
    codePoint = cp;
    return length;
}

std::size_t SjisCutLength(std::string_view text, std::size_t maxBytes)
{
    if (text.size() <= maxBytes)
        return text.size();
    std::size_t end = 0;
    for (std::size_t length = SjisCharLength(text, 0); end + length <= maxBytes; length = SjisCharLength(text, end))
        end += length;
    return end;
}

std::string_view TrimSjisBlanks(std::string_view text)
{
    // From the front, character by character: only then is a trailing
    // 0x81 0x40 known to be one character.
    std::size_t begin = text.size();
    std::size_t end = 0;
    for (std::size_t i = 0; i < text.size();) {
        const std::size_t length = SjisCharLength(text, i);
        const bool blank = length == 1 ? text[i] == ' ' || text[i] == '\t'
                                       : text[i] == '\x81' && text[i + 1] == '\x40';
        if (!blank) {
            begin = std::min(begin, i);
            end = i + length;
        }
        i += length;
    }
    return begin < end ? text.substr(begin, end - begin) : std::string_view();
}

std::string SjisToUtf8(const std::string& sjis)
{
    // ASCII is the same bytes in both encodings; most cells of a bank are.
    if (IsAscii(sjis))
        return sjis;
    std::string out;
    Platform::Cp932ToUtf8(sjis, out, "\xEF\xBF\xBD");
    return out;
}

bool Utf8ToSjis(const std::string& utf8, std::string& sjis)
{
    if (IsAscii(utf8)) {
        sjis = utf8;
        return true;
    }
    return Platform::Utf8ToCp932(utf8, sjis, "?");
}
