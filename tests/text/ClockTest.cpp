#include "text/Clock.h"
#include "text/Unit2.h"
#include "support/FixedClock.h"

#include <gtest/gtest.h>

TEST(Clock, FixedNowDrivesNowTextAndReturnsToRealTime)
{
    // 6 December 2026, 19:42:55 UTC, a Sunday (the tests run with TZ=UTC).
    FixedClock::Set(1796586175);
    EXPECT_EQ(NowText(), "Sun Dec 06 19:42:55 2026");
    FixedClock::Set(std::nullopt);
    EXPECT_NE(Clock::Now(), 1796586175);
}
