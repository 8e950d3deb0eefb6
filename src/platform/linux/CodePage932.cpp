#include "platform/CodePage932.h"

#include "platform/BadSequence.h"

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

// One conversion with iconv; on an invalid or unconvertible sequence the
// replacement is emitted and the bad character skipped (BadSequence.h).
bool Convert(Converter& converter, bool fromUtf8, const std::string& input, std::string& output,
             const std::string& replacement)
{
    output.clear();
    if (!converter.Usable()) {
        output = input;
        return false;
    }
    iconv_t cd = converter.Fresh();
    bool clean = true;
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
            const auto* at = reinterpret_cast<const unsigned char*>(inPtr);
            const std::size_t skip = fromUtf8 ? Platform::BadUtf8Length(at, inLeft) : Platform::BadCp932Length(at, inLeft);
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

namespace Platform {

bool Cp932ToUtf8(const std::string& input, std::string& output, const std::string& replacement)
{
    thread_local Converter toUtf8("UTF-8", "CP932");
    return Convert(toUtf8, false, input, output, replacement);
}

bool Utf8ToCp932(const std::string& input, std::string& output, const std::string& replacement)
{
    thread_local Converter toSjis("CP932", "UTF-8");
    return Convert(toSjis, true, input, output, replacement);
}

} // namespace Platform
