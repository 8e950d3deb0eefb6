#include "data/ChoiceLabels.h"

namespace ChoiceLabels {
namespace {

// Fourteen two-byte letters each. The iroha list keeps the hiragana へ the
// program has always shown for box 6.
constexpr char kIroha[] = "\x83\x43\x83\x8D\x83\x6E\x83\x6A\x83\x7A\x82\xD6\x83\x67"  // イロハニホへト
                          "\x83\x60\x83\x8A\x83\x6B\x83\x8B\x83\x92\x83\x8F\x83\x4A"; // チリヌルヲワカ
constexpr char kAiueo[] = "\x83\x41\x83\x43\x83\x45\x83\x47\x83\x49\x83\x4A\x83\x4C"  // アイウエオカキ
                          "\x83\x4E\x83\x50\x83\x52\x83\x54\x83\x56\x83\x58\x83\x5A"; // クケコサシスセ
static_assert(sizeof kIroha == 2 * kBoxCount + 1 && sizeof kAiueo == 2 * kBoxCount + 1);

bool InLists(int set, int box)
{
    return IsLabelSet(set) && box >= 0 && box < kBoxCount;
}

} // namespace

bool IsLabelSet(long long set)
{
    return set >= 0 && set < kSetCount;
}

std::string Letter(int set, int box)
{
    if (!InLists(set, box))
        return {};
    switch (set) {
    case 1:
        return std::string(1, static_cast<char>('A' + box));
    case 2:
        return std::string(kIroha + 2 * box, 2);
    case 3:
        return std::string(kAiueo + 2 * box, 2);
    default:
        return {};
    }
}

std::string Caption(int set, int box)
{
    if (!InLists(set, box))
        return {};
    const std::string key = "&" + std::to_string(box + 1);
    return set == 0 ? key : Letter(set, box) + "(" + key + ")";
}

} // namespace ChoiceLabels
