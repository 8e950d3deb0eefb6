#pragma once
// A clock pinned to one moment, for tests that need a known date.
#include "text/Clock.h"

#include <ctime>
#include <optional>

class FixedClock : public Clock {
public:
    // Pins Clock::Now() to t; std::nullopt gives the system's clock back.
    static void Set(std::optional<std::time_t> t)
    {
        static FixedClock clock;
        clock.now_ = t.value_or(0);
        SetInstance(t ? &clock : nullptr);
    }

protected:
    std::time_t Time() const override { return now_; }

private:
    std::time_t now_ = 0;
};
