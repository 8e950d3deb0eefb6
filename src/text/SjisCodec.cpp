#include "text/SjisCodec.h"

#include "platform/CodePage932.h"

#include <algorithm>

namespace {

bool IsAscii(const std::string& text)
{
    return std::all_of(text.begin(), text.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

} // namespace

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

bool SjisToUtf8Exactly(const std::string& sjis, std::string& utf8)
{
    utf8 = SjisToUtf8(sjis);
    std::string back;
    return Utf8ToSjis(utf8, back) && back == sjis;
}
