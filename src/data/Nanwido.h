#pragma once
// The difficulty: 0 ("Ａ", hardest) to 5 ("Ｆ", easiest). Files hold it as a
// number; everything inside the program holds it as a NanwidoValue.
#include <cstdint>

enum NanwidoValue : std::int32_t {
    kNanwidoA = 0,
    kNanwidoB = 1,
    kNanwidoC = 2,
    kNanwidoD = 3,
    kNanwidoE = 4,
    kNanwidoF = 5,
};

// True for a number that names a difficulty.
constexpr bool IsNanwido(std::int32_t value)
{
    return value >= kNanwidoA && value <= kNanwidoF;
}

// The difficulty a number from a file stands for; a number that names none
// gives the easiest, the difficulty a new learner starts at.
constexpr NanwidoValue ToNanwido(std::int32_t value)
{
    return IsNanwido(value) ? static_cast<NanwidoValue>(value) : kNanwidoF;
}

// The nearest difficulty, for indexing the per-difficulty tables.
constexpr NanwidoValue ClampNanwido(std::int32_t value)
{
    return value < kNanwidoA ? kNanwidoA : ToNanwido(value);
}
