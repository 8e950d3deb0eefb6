#include "data/ToiTextLines.h"

#include "data/DataTexts.h"
#include "text/SjisCodec.h"

namespace ToiTextLines {
namespace {

// The lines of one line of text, wrapped at the box's width.
int WrappedLines(std::string_view line)
{
    int lines = 1;
    int x = 0;
    auto place = [&](int width) {
        if (x > 0 && x + width > kTextWidth) {
            ++lines;
            x = 0;
        }
        // A word wider than the box is cut across lines.
        while (width > kTextWidth) {
            ++lines;
            width -= kTextWidth;
        }
        x += width;
    };
    for (std::size_t i = 0; i < line.size();) {
        const auto b = static_cast<unsigned char>(line[i]);
        if (IsSjisLead(b) && i + 1 < line.size()) {
            place(kWideWidth);
            i += 2;
        } else if (b == ' ') {
            place(kNarrowWidth);
            ++i;
        } else {
            // A lone lead byte at the end is a narrow character too.
            std::size_t end = i + 1;
            while (end < line.size() && line[end] != ' ' && !IsSjisLead(static_cast<unsigned char>(line[end])))
                ++end;
            place(static_cast<int>(end - i) * kNarrowWidth);
            i = end;
        }
    }
    return lines;
}

} // namespace

int LineCount(std::string_view sjis)
{
    constexpr std::string_view kBreak = DataTexts::kLineMarker;
    int lines = 0;
    for (std::size_t from = 0;;) {
        const std::size_t at = sjis.find(kBreak, from);
        lines += WrappedLines(sjis.substr(from, at == std::string_view::npos ? sjis.npos : at - from));
        if (at == std::string_view::npos)
            return lines;
        from = at + kBreak.size();
    }
}

} // namespace ToiTextLines
