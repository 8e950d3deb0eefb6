#pragma once
// The program's one source of calendar time. The shuffle seed, the date of a
// save slot and anything else that asks "what time is it" go through here, so
// a test can put a clock of its own in place instead of waiting for a date.
#include <ctime>

class Clock {
public:
    virtual ~Clock() = default;
    // Calendar time in whole seconds.
    static std::time_t Now();

protected:
    // The time this clock tells: the system's.
    virtual std::time_t Time() const;
    // Puts a clock in the place of the system's (null: the system's again).
    // Protected, so only a subclass sets one: a test's clock.
    static void SetInstance(const Clock* clock);
};
