#pragma once
// How many lines a question text takes in the question box, estimated from
// character widths alone (the bank tool knows no fonts). The box shows its
// text 16 px high: a two-byte character is 16 px wide, an ASCII one is
// counted 9 px, wider than most letters of the proportional font, so the
// estimate errs on the long side; a run of ASCII without blanks wraps as one
// word, other characters wrap anywhere. A window test holds the estimate to
// the real box.
#include "data/ToiBoxes.h"

#include <string_view>

namespace ToiTextLines {
// The width the text wraps at: the box less its scroll bar and the text's
// margin of 4 px on either side.
inline constexpr int kTextWidth = ToiBoxes::kWidth - ToiBoxes::kScrollBarWidth - 2 * 4;
inline constexpr int kWideWidth = 16;
inline constexpr int kNarrowWidth = 9;
// The lines the box shows whole without scrolling: 281 px less the margins
// hold 14 lines of the font's 18 px line spacing, and part of a 15th.
inline constexpr int kVisibleLines = 14;

// The lines of a bank cell's text (Shift_JIS, line breaks as "<$>").
int LineCount(std::string_view sjis);
} // namespace ToiTextLines
