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
            std::size_t skip = 1;
            auto lead = static_cast<unsigned char>(*inPtr);
            if (fromUtf8) {
                if (lead >= 0xF0)
                    skip = 4;
                else if (lead >= 0xE0)
                    skip = 3;
                else if (lead >= 0xC0)
                    skip = 2;
            } else if (lead >= 0x81 && inLeft >= 2) {
                skip = 2;
            }
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

bool SjisToUtf8Exactly(const std::string& sjis, std::string& utf8)
{
    utf8 = SjisToUtf8(sjis);
    std::string back;
    return Utf8ToSjis(utf8, back) && back == sjis;
}
