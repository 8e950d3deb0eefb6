#include "platform/CodePage932.h"

#include "platform/BadSequence.h"

#include <windows.h>

namespace {

constexpr UINT kCp932 = 932;

// glibc takes the JIS forms of the characters whose code page 932 forms
// differ (the wave dash, the minus sign, the pound sign ...) to the same
// codes, one way; Windows refuses them. Both systems write them alike.
void TakeJisForms(std::wstring& wide)
{
    for (wchar_t& c : wide) {
        switch (c) {
        case 0x301C: c = 0xFF5E; break; // WAVE DASH -> FULLWIDTH TILDE (0x8160)
        case 0x2016: c = 0x2225; break; // DOUBLE VERTICAL LINE -> PARALLEL TO (0x8161)
        case 0x2212: c = 0xFF0D; break; // MINUS SIGN -> FULLWIDTH HYPHEN-MINUS (0x817C)
        case 0x00A2: c = 0xFFE0; break; // CENT SIGN (0x8191)
        case 0x00A3: c = 0xFFE1; break; // POUND SIGN (0x8192)
        case 0x00AC: c = 0xFFE2; break; // NOT SIGN (0x81CA)
        case 0x2014: c = 0x2015; break; // EM DASH -> HORIZONTAL BAR (0x815C)
        case 0x203E: c = L'~'; break;   // OVERLINE (0x7E)
        case 0x00A5: c = L'\\'; break; // YEN SIGN (0x5C)
        default: break;
        }
    }
}

// Converts one run that the system accepts whole, or fails.
bool ConvertRun(UINT from, UINT to, const char* data, int size, std::string& output)
{
    if (size == 0)
        return true;
    const int wideSize = ::MultiByteToWideChar(from, MB_ERR_INVALID_CHARS, data, size, nullptr, 0);
    if (wideSize <= 0)
        return false;
    std::wstring wide(static_cast<std::size_t>(wideSize), L'\0');
    ::MultiByteToWideChar(from, MB_ERR_INVALID_CHARS, data, size, wide.data(), wideSize);
    // Windows gives the single bytes 0x80, 0xA0 and 0xFD-0xFF characters of
    // their own (U+0080, U+F8F0-U+F8F3) and takes them back; they are no
    // characters of the data files, and glibc refuses them both ways.
    for (const wchar_t c : wide)
        if (c == 0x80 || (c >= 0xF8F0 && c <= 0xF8F3))
            return false;
    if (to != CP_UTF8)
        TakeJisForms(wide);
    BOOL defaulted = FALSE;
    // WC_NO_BEST_FIT_CHARS: a character code page 932 lacks is refused, not
    // replaced by a look-alike (glibc's iconv refuses it too).
    const DWORD flags = to == CP_UTF8 ? 0 : WC_NO_BEST_FIT_CHARS;
    BOOL* usedDefault = to == CP_UTF8 ? nullptr : &defaulted;
    const int outSize = ::WideCharToMultiByte(to, flags, wide.data(), wideSize, nullptr, 0, nullptr, usedDefault);
    if (outSize <= 0 || defaulted)
        return false;
    const std::size_t at = output.size();
    output.resize(at + static_cast<std::size_t>(outSize));
    ::WideCharToMultiByte(to, flags, wide.data(), wideSize, output.data() + at, outSize, nullptr, nullptr);
    return true;
}

// The length of the character at data[0], as far as it is one.
std::size_t CharLength(UINT from, const unsigned char* data, std::size_t left)
{
    return from == CP_UTF8 ? Platform::BadUtf8Length(data, left) : Platform::BadCp932Length(data, left);
}

// Converts character by character where a whole run is refused, so a bad
// character costs only itself (the same rule as the Linux side).
bool Convert(UINT from, UINT to, const std::string& input, std::string& output, const std::string& replacement)
{
    output.clear();
    if (ConvertRun(from, to, input.data(), static_cast<int>(input.size()), output))
        return true;
    output.clear();
    bool clean = true;
    const auto* bytes = reinterpret_cast<const unsigned char*>(input.data());
    std::size_t at = 0;
    while (at < input.size()) {
        std::size_t n = CharLength(from, bytes + at, input.size() - at);
        if (!ConvertRun(from, to, input.data() + at, static_cast<int>(n), output)) {
            clean = false;
            output += replacement;
        }
        at += n;
    }
    return clean;
}

} // namespace

namespace Platform {

bool Cp932ToUtf8(const std::string& input, std::string& output, const std::string& replacement)
{
    return Convert(kCp932, CP_UTF8, input, output, replacement);
}

bool Utf8ToCp932(const std::string& input, std::string& output, const std::string& replacement)
{
    return Convert(CP_UTF8, kCp932, input, output, replacement);
}

} // namespace Platform
