#include "text/Clock.h"

namespace {
const Clock* g_clock = nullptr;
} // namespace

std::time_t Clock::Now()
{
    return g_clock ? g_clock->Time() : std::time(nullptr);
}

std::time_t Clock::Time() const
{
    return std::time(nullptr);
}

void Clock::SetInstance(const Clock* clock)
{
    g_clock = clock;
}
