#include "text/Clock.h"

namespace {
std::optional<std::time_t>& FixedNow()
{
    static std::optional<std::time_t> fixed;
    return fixed;
}
} // namespace

std::time_t Clock::Now()
{
    if (FixedNow())
        return *FixedNow();
    return std::time(nullptr);
}

void Clock::SetFixedNow(std::optional<std::time_t> t)
{
    FixedNow() = t;
}
