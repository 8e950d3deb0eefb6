#pragma once
// The two boxes of the question screen, the question box (its text or
// picture) above the explanation box, and the size a picture is shown at in
// them. The window lays its boxes out from these numbers and the bank tool
// checks pictures against them, so the two cannot drift apart.
#include <optional>

namespace ToiBoxes {
// Both boxes are this large; the question box stands above the explanation box.
inline constexpr int kWidth = 809;
inline constexpr int kHeight = 281;
inline constexpr int kLeft = 16;
inline constexpr int kToiTop = 16;
inline constexpr int kKaisetuTop = 312;
// The boxes' text is drawn at this pixel height.
inline constexpr int kTextPixelHeight = 16;

// A picture is shown as wide as its box less the vertical scroll bar and
// this margin, its height in proportion.
inline constexpr int kPictureMargin = 5;
// The scroll bar of the window's style on the desktops the program is built
// for. A wider one (another style) only makes pictures narrower and so
// shorter: a picture that fits at this width fits there too.
inline constexpr int kScrollBarWidth = 14;
inline constexpr int kPictureShownWidth = kWidth - kScrollBarWidth - kPictureMargin; // 790

// Scaled to the box's width a thin picture would grow to an enormous height
// (2 x 8000 to 790 x 3 160 000): a shown picture is at most this high and
// this many pixels (32 MB at 4 bytes a pixel), whatever the file's proportions.
inline constexpr int kMaxShownPictureHeight = 8192;
inline constexpr long long kMaxShownPicturePixels = 8LL * 1024 * 1024;

struct ShownSize {
    int width = 0;
    int height = 0;
    friend bool operator==(const ShownSize&, const ShownSize&) = default;
};

// The size a picture of pictureWidth x pictureHeight pixels is shown at in a
// box boxWidth wide with a scroll bar scrollBarWidth wide: the height
// truncated. Empty when nothing of it would be seen (no room in the box, an
// empty picture, a height truncated to 0) or when it would pass the bounds above.
std::optional<ShownSize> PictureShownSize(long long pictureWidth, long long pictureHeight, int boxWidth = kWidth,
                                          int scrollBarWidth = kScrollBarWidth);
} // namespace ToiBoxes
