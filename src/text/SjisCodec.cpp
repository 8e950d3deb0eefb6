#include "text/SjisCodec.h"

#include <algorithm>
#include <cerrno>
#include <iconv.h>

namespace {

// An iconv descriptor opened once per direction and thread: opening one costs
// far more than converting a cell, and the bank tool converts millions.
class Converter {
public:
    Converter(const char* to, const char* from) : cd_(::iconv_open(to, from)) {}
    ~Converter()
    {
        if (Usable())
            ::iconv_close(cd_);
    }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;

    bool Usable() const { return cd_ != reinterpret_cast<iconv_t>(-1); }
    // The descriptor in its initial shift state.
    iconv_t Fresh()
    {
        ::iconv(cd_, nullptr, nullptr, nullptr, nullptr);
        return cd_;
    }

private:
    iconv_t cd_;
};

// Only the two directions the program uses: CP932 to UTF-8 and back.
iconv_t Descriptor(const char* to)
{
    thread_local Converter toUtf8("UTF-8", "CP932");
    thread_local Converter toSjis("CP932", "UTF-8");
    Converter& c = std::string(to) == "UTF-8" ? toUtf8 : toSjis;
    return c.Usable() ? c.Fresh() : reinterpret_cast<iconv_t>(-1);
}

// One conversion with iconv; on an invalid or unconvertible sequence the
// replacement is emitted and the input skipped by skipBytes.
bool Convert(const char* to, const char* from, const std::string& input, std::string& output,
             const std::string& replacement)
{
    output.clear();
    // ASCII is the same bytes in both encodings; most cells of a bank are.
    if (std::all_of(input.begin(), input.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; })) {
        output = input;
        return true;
    }
    iconv_t cd = Descriptor(to);
    if (cd == reinterpret_cast<iconv_t>(-1)) {
        output = input;
        return false;
    }
    bool clean = true;
    const bool fromUtf8 = std::string(from) == "UTF-8";
    char* inPtr = const_cast<char*>(input.data()); // iconv reads through it, never writes
    std::size_t inLeft = input.size();
    char buffer[4096];
    while (inLeft > 0) {
        char* outPtr = buffer;
        std::size_t outLeft = sizeof buffer;
        std::size_t r = ::iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft);
        output.append(buffer, static_cast<std::size_t>(outPtr - buffer));
        if (r == static_cast<std::size_t>(-1)) {
            if (errno == E2BIG)
                continue;
            // EILSEQ or EINVAL: skip one byte (or one UTF-8 character).
            clean = false;
            output += replacement;
            const std::string_view rest(inPtr, inLeft);
            char32_t codePoint = 0;
            std::size_t skip = fromUtf8 ? std::max<std::size_t>(Utf8CharLength(rest, 0, codePoint), 1)
                                        : SjisCharLength(rest, 0);
            if (skip > inLeft)
                skip = inLeft;
            inPtr += skip;
            inLeft -= skip;
        }
    }
    char* outPtr = buffer;
    std::size_t outLeft = sizeof buffer;
    ::iconv(cd, nullptr, nullptr, &outPtr, &outLeft);
    output.append(buffer, static_cast<std::size_t>(outPtr - buffer));
    return clean;
}

} // namespace

std::size_t Utf8CharLength(std::string_view text, std::size_t position, char32_t& codePoint)
{
    const auto b = static_cast<unsigned char>(text[position]);
    const std::size_t length = b < 0x80 ? 1 : (b & 0xE0) == 0xC0 ? 2 : (b & 0xF0) == 0xE0 ? 3 : (b & 0xF8) == 0xF0 ? 4 : 0;
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

std::string SjisToUtf8(const std::string& sjis)
{
    std::string out;
    Convert("UTF-8", "CP932", sjis, out, "\xEF\xBF\xBD");
    return out;
}

bool Utf8ToSjis(const std::string& utf8, std::string& sjis)
{
    return Convert("CP932", "UTF-8", utf8, sjis, "?");
}
