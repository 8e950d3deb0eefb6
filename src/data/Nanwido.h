#pragma once
// The difficulty: Ａ (0, hardest) to Ｆ (5, easiest). A NanwidoValue always
// holds one of the six: numbers from files, slots and the selector become one
// only through the checks below, so nothing after them clamps or checks again.
#include <cstdint>
#include <iterator>
#include <optional>
#include <string>
#include <string_view>

// The letters Ａ..Ｆ by number (Shift_JIS), written once: the difficulty
// selector's items and the record's CSV. Their count bounds every number.
inline constexpr std::string_view kNanwidoLetters[] = {
    "\x82\x60", "\x82\x61", "\x82\x62", "\x82\x63", "\x82\x64", "\x82\x65", // Ａ Ｂ Ｃ Ｄ Ｅ Ｆ
};
inline constexpr std::int32_t kNanwidoCount = static_cast<std::int32_t>(std::size(kNanwidoLetters));

class NanwidoValue {
public:
    // Ｆ, where a new learner starts.
    constexpr NanwidoValue() = default;

    // The difficulty a number names, or nothing for a number outside 0..5.
    static constexpr std::optional<NanwidoValue> Of(std::int64_t number)
    {
        if (number < 0 || number >= kNanwidoCount)
            return std::nullopt;
        return NanwidoValue(static_cast<std::int32_t>(number));
    }

    // 0..5: the number the files hold, the selector's item, the index into
    // the pass lines and the countdowns.
    constexpr operator std::int32_t() const { return index_; }

    // One step towards Ａ; Ａ stays Ａ.
    constexpr NanwidoValue Harder() const { return NanwidoValue(index_ > 0 ? index_ - 1 : 0); }

    friend constexpr bool operator==(NanwidoValue, NanwidoValue) = default;

private:
    constexpr explicit NanwidoValue(std::int32_t index) : index_(index) {}
    std::int32_t index_ = kNanwidoCount - 1;
};

inline constexpr NanwidoValue kNanwidoA = *NanwidoValue::Of(0);
inline constexpr NanwidoValue kNanwidoB = *NanwidoValue::Of(1);
inline constexpr NanwidoValue kNanwidoC = *NanwidoValue::Of(2);
inline constexpr NanwidoValue kNanwidoD = *NanwidoValue::Of(3);
inline constexpr NanwidoValue kNanwidoE = *NanwidoValue::Of(4);
inline constexpr NanwidoValue kNanwidoF = *NanwidoValue::Of(5);

// A number read from a slot's cell (TextToInt: a word is 0); Ｆ for one that
// names no difficulty.
constexpr NanwidoValue NanwidoOrF(std::int32_t number)
{
    return NanwidoValue::Of(number).value_or(kNanwidoF);
}

// What db_nanwido.dat holds: its leading number (blanks and a sign allowed,
// as TextToInt reads it) when that names a difficulty, else Ｆ: an empty
// file, a word, 7, -1 and a number of any length all give Ｆ.
NanwidoValue NanwidoFromFile(const std::string& bytes);
// The file's bytes: the number alone, no line end.
std::string NanwidoFileText(NanwidoValue nanwido);
