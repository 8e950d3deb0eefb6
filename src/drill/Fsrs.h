#pragma once
// The memory model of the review scheduler: FSRS-6 with its published
// default parameters, as the open-spaced-repetition projects give them. Only
// the model: no learning steps, no fuzz, a requested retention of 0.9. A
// right answer is rated Good (3), a wrong one Again (1). Time is counted in
// whole days.
#include <array>
#include <cstdint>

namespace Fsrs {

inline constexpr std::array<double, 21> kW = {0.212,  1.2931, 2.3065, 8.2956, 6.4133, 0.8334, 3.0194,
                                              0.001,  1.8722, 0.1666, 0.796,  1.4835, 0.0614, 0.2629,
                                              1.6483, 0.6014, 1.8729, 0.5425, 0.0912, 0.0658, 0.1542};
// The longest interval (a hundred years), and the smallest stability.
constexpr std::int32_t kMaxIntervalDays = 36500;
constexpr double kMinStability = 0.001;

struct Memory {
    double difficulty = 0; // 1 (easy) .. 10 (hard)
    double stability = 0;  // days until recall falls to 90 %
};

// The memory after a question's first answer.
Memory First(bool seikai);
// The memory after an answer given `elapsedDays` after the one before.
Memory Next(const Memory& memory, double elapsedDays, bool seikai);
// The same, given the recall at that moment (Retrievability), for a caller
// that needs it too.
Memory NextAtRecall(const Memory& memory, double recall, bool seikai);
// The chance of recall `elapsedDays` after the last answer.
double Retrievability(double elapsedDays, double stability);
// Days until the next review: recall then falls to 0.9.
std::int32_t IntervalDays(double stability);

} // namespace Fsrs
