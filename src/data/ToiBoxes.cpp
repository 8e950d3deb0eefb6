#include "data/ToiBoxes.h"

namespace ToiBoxes {

std::optional<ShownSize> PictureShownSize(long long pictureWidth, long long pictureHeight, int boxWidth,
                                          int scrollBarWidth)
{
    // 64-bit so that neither the margin nor height x width can overflow.
    const long long width = static_cast<long long>(boxWidth) - scrollBarWidth - kPictureMargin;
    if (width <= 0 || pictureWidth <= 0 || pictureHeight <= 0 || width > kMaxShownPicturePixels)
        return std::nullopt;
    // A picture at most kMaxShownPicturePixels wide and of at most 2^31 rows
    // keeps this product far below the 64-bit limit.
    if (pictureHeight > (1LL << 31))
        return std::nullopt;
    const long long height = pictureHeight * width / pictureWidth;
    if (height <= 0 || height > kMaxShownPictureHeight || width * height > kMaxShownPicturePixels)
        return std::nullopt;
    return ShownSize {static_cast<int>(width), static_cast<int>(height)};
}

} // namespace ToiBoxes
