#include "drill/ShownText.h"

#include "data/ToiBank.h"
#include "text/SjisCodec.h"

namespace {

constexpr std::size_t kBankLineBreakLength = sizeof kBankLineBreak - 1;

// Characters after which the layout may break a line: ASCII blanks, line
// ends and the full-width space.
bool EndsRun(const std::string& text, std::size_t position, std::size_t length)
{
    if (length == 2)
        return static_cast<unsigned char>(text[position]) == 0x81
            && static_cast<unsigned char>(text[position + 1]) == 0x40;
    const char c = text[position];
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f' || c == '\v';
}

} // namespace

BoundedText BoundShownText(const std::string& sjis, std::size_t maxBytes, std::size_t maxRunBytes)
{
    BoundedText shown;
    shown.text.reserve(sjis.size() < maxBytes ? sjis.size() + sjis.size() / (maxRunBytes + 1) + 1 : maxBytes);
    std::size_t run = 0; // bytes since the last place a line may break
    std::size_t i = 0;
    while (i < sjis.size()) {
        // CR is never a trail byte, so a break found at a character start is
        // the same break BankText made.
        if (sjis.compare(i, kBankLineBreakLength, kBankLineBreak) == 0) {
            if (shown.text.size() + 1 > maxBytes)
                break;
            shown.text += '\n';
            run = 0;
            i += kBankLineBreakLength;
            continue;
        }
        const std::size_t length = SjisCharLength(sjis, i);
        const bool blank = EndsRun(sjis, i, length);
        const bool breakFirst = !blank && run + length > maxRunBytes;
        if (shown.text.size() + (breakFirst ? 1 : 0) + length > maxBytes)
            break;
        if (breakFirst) {
            shown.text += '\n';
            run = 0;
        }
        shown.text.append(sjis, i, length);
        run = blank ? 0 : run + length;
        i += length;
    }
    shown.cut = i < sjis.size();
    return shown;
}

BoundedText BoundShownLine(const std::string& sjis, std::size_t maxBytes)
{
    const std::size_t end = SjisCutLength(sjis, maxBytes);
    return {sjis.substr(0, end), end < sjis.size()};
}
