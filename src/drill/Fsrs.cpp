#include "drill/Fsrs.h"

#include <algorithm>
#include <cmath>

namespace Fsrs {
namespace {

constexpr double kGood = 3;
constexpr double kAgain = 1;

double Grade(bool seikai)
{
    return seikai ? kGood : kAgain;
}

double InitialDifficulty(double grade)
{
    return kW[4] - std::exp((grade - 1) * kW[5]) + 1;
}

double ClampDifficulty(double d)
{
    return std::clamp(d, 1.0, 10.0);
}

// R(t, S) = (1 + factor t / S)^-w20, the factor making R(S, S) = 0.9.
const double kFactor = std::pow(0.9, -1 / kW[20]) - 1;
const double kExpW8 = std::exp(kW[8]);
// Difficulty reverts towards that of a first answer rated Easy.
const double kEasyDifficulty = InitialDifficulty(4);

} // namespace

Memory First(bool seikai)
{
    const double g = Grade(seikai);
    return {ClampDifficulty(InitialDifficulty(g)), kW[static_cast<std::size_t>(g) - 1]};
}

Memory Next(const Memory& m, double elapsedDays, bool seikai)
{
    return NextAtRecall(m, Retrievability(std::max(0.0, elapsedDays), m.stability), seikai);
}

Memory NextAtRecall(const Memory& m, double r, bool seikai)
{
    const double g = Grade(seikai);
    const double d = m.difficulty;
    const double s = m.stability;
    Memory next;
    if (r >= 1 && seikai) {
        next.stability = s; // recalled at once: nothing to strengthen
    } else if (seikai) {
        next.stability = s * (1 + kExpW8 * (11 - d) * std::pow(s, -kW[9]) * (std::exp(kW[10] * (1 - r)) - 1));
    } else {
        const double forgot =
            kW[11] * std::pow(d, -kW[12]) * (std::pow(s + 1, kW[13]) - 1) * std::exp(kW[14] * (1 - r));
        // A lapse never makes the memory stronger.
        next.stability = std::min(s, forgot);
    }
    next.stability = std::clamp(next.stability, kMinStability, double(kMaxIntervalDays));
    // Linear damping towards 10, then a pull back towards an easy first answer.
    const double damped = d + (-kW[6] * (g - 3)) * (10 - d) / 9;
    next.difficulty = ClampDifficulty(kW[7] * kEasyDifficulty + (1 - kW[7]) * damped);
    return next;
}

double Retrievability(double elapsedDays, double stability)
{
    if (elapsedDays <= 0)
        return 1;
    return std::pow(1 + kFactor * elapsedDays / stability, -kW[20]);
}

std::int32_t IntervalDays(double stability)
{
    const double days = std::round(stability);
    return static_cast<std::int32_t>(std::clamp(days, 1.0, double(kMaxIntervalDays)));
}

} // namespace Fsrs
