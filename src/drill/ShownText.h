#pragma once
// Texts from the data files as the window shows them. A bank or a slot file
// may hold texts of any length; laying out one unbroken run of characters
// takes the text layout time that grows with the square of the run, so a
// shown text is bounded in length and its long runs are broken. Everything
// works on Shift_JIS bytes and never separates a lead byte from its trail byte.
#include "text/SjisCodec.h"

#include <cstddef>

#include <string>

// A multi-line text (question, explanation, answer) is cut after this many
// bytes; no question needs more, and the memo shows it in a fraction of a second.
constexpr std::size_t kMaxShownTextBytes = 100000;
// A run of characters with no blank or line break between them gets a line
// break after this many bytes. Far longer than any sentence of a question, so
// only runs that are no prose at all (a pasted dump, a crafted file) change.
constexpr std::size_t kMaxUnbrokenRunBytes = 4000;
// A one-line text (a key in a label, a cell in a list) is cut after this many bytes.
constexpr std::size_t kMaxShownLineBytes = 200;

struct BoundedText {
    std::string text; // Shift_JIS, lines ended by LF
    bool cut = false; // true when the end of the text is not shown
};

// The shown form of a multi-line text as BankText gives it: every line break
// becomes LF, a run longer than maxRunBytes is broken with LF, and the result
// holds at most maxBytes bytes (line breaks included), cut at a character boundary.
BoundedText BoundShownText(const std::string& sjis, std::size_t maxBytes = kMaxShownTextBytes,
                           std::size_t maxRunBytes = kMaxUnbrokenRunBytes);

// A one-line text cut at a character boundary to at most maxBytes bytes.
BoundedText BoundShownLine(const std::string& sjis, std::size_t maxBytes = kMaxShownLineBytes);
