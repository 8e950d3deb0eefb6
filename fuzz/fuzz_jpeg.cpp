// The JPEG loader on any bytes: it decodes or refuses, never crashes, and
// what it decodes fits the size limits.
#include "data/ToiBoxes.h"
#include "picture/LoadJpegBitmap.h"

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static const std::string path =
        (std::filesystem::temp_directory_path() / ("mireto-fuzz-" + std::to_string(::getpid()) + ".jpg")).string();
    {
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    }
    QImage bitmap;
    QString error;
    if (LoadJpegBitmap(path, bitmap, &error)) {
        if (bitmap.isNull() || !error.isEmpty() || bitmap.width() > kMaxPictureSide
            || bitmap.height() > kMaxPictureSide
            || static_cast<long long>(bitmap.width()) * bitmap.height() > kMaxPicturePixels)
            std::abort();
        const auto shown = ToiBoxes::PictureShownSize(bitmap.width(), bitmap.height());
        if (shown && (shown->width <= 0 || shown->height <= 0 || shown->height > ToiBoxes::kMaxShownPictureHeight))
            std::abort();
    } else if (!bitmap.isNull() || error.isEmpty()) {
        std::abort();
    }
    return 0;
}
