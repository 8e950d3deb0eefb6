#pragma once
// The Shift_JIS byte rules and the conversion between the Shift_JIS bytes of
// the data files and UTF-8 (code page 932, platform/CodePage932.h). Qt-free: the bank
// tool uses it as well as the window.
#include "platform/CharBytes.h"

#include <cstddef>
#include <string>
#include <string_view>

// The first byte of a two-byte Shift_JIS character, and a byte that may
// follow it (platform/CharBytes.h).
using Platform::IsSjisLead;
using Platform::IsSjisTrail;
// How many bytes the character at `position` takes: 2 for a lead byte with a
// trail byte after it, 1 for anything else (ASCII, half-width katakana, a
// broken or lone byte).
constexpr std::size_t SjisCharLength(std::string_view text, std::size_t position)
{
    return position + 1 < text.size() && IsSjisLead(static_cast<unsigned char>(text[position])) &&
                   IsSjisTrail(static_cast<unsigned char>(text[position + 1]))
               ? 2
               : 1;
}

// The length of the longest start of the text that holds at most maxBytes
// bytes and ends at a character's edge (SjisCharLength): a text is cut there,
// never between a lead byte and its trail byte.
std::size_t SjisCutLength(std::string_view text, std::size_t maxBytes);

// The text without its blanks at both ends: ASCII blanks (space, tab) and
// the ideographic blank (0x81 0x40), told by whole characters, so that the
// trail byte of a kanji before an "@" is never taken for one.
std::string_view TrimSjisBlanks(std::string_view text);

// The table file's own pairing rule, kept on purpose so that every file
// reads as it always has: any byte of 0x80 or above takes the byte after it,
// whatever that byte is (single-byte katakana and the lead bytes 0xF0-0xFC
// are not supported by the format, and would swallow a quote or a comma).
constexpr bool PairsInTableFile(unsigned char b)
{
    return b >= 0x80;
}
// The first bytes whose character the table reader passes through EUC-JP and
// back (the JIS X 0208 lead bytes, and 0x80): of their second bytes only
// 0x7F comes back changed, as 0x7E.
constexpr bool IsJisRowLead(unsigned char b)
{
    return (b >= 0x80 && b <= 0x9F) || (b >= 0xE0 && b <= 0xEF);
}

// The UTF-8 character at `position`: its length (1 to 4) and code point in
// *codePoint, or 0 for bytes that are no well-formed character (an overlong
// form, a surrogate, beyond U+10FFFF, a cut sequence).
std::size_t Utf8CharLength(std::string_view text, std::size_t position, char32_t& codePoint);

// Shift_JIS (code page 932) bytes to UTF-8. Bytes that are not valid
// Shift_JIS become U+FFFD, so a damaged cell still shows.
std::string SjisToUtf8(const std::string& sjis);
// UTF-8 to Shift_JIS. Returns false when a character has no Shift_JIS form
// (the output then holds "?" in its place) or the input is not UTF-8.
bool Utf8ToSjis(const std::string& utf8, std::string& sjis);
