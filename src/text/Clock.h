#pragma once
// The program's one source of calendar time. The shuffle seed, the date of a
// save slot and anything else that asks "what time is it" go through here, so
// tests can pin the time instead of waiting for it.
#include <ctime>
#include <optional>

class Clock {
public:
    // Calendar time in whole seconds.
    static std::time_t Now();
    // Pins Now() to a fixed value (tests); std::nullopt returns to real time.
    static void SetFixedNow(std::optional<std::time_t> t);
};
