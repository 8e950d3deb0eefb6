// The single-copy lock: one holder at a time, held again once let go; the
// same in this process as across processes (flock per open file, a named
// mutex per handle).
#include "platform/SingleCopyLock.h"

#include <gtest/gtest.h>

#include <chrono>
#include <memory>

namespace {

std::string UniqueLockName()
{
    // Never the program's own lock, which a running copy may hold.
    return "MiretoLockTest-" + std::to_string(std::chrono::steady_clock::now().time_since_epoch().count());
}

TEST(SingleCopyLock, OneHolderAtATime)
{
    const std::string name = UniqueLockName();
    auto first = std::make_unique<Platform::SingleCopyLock>(name);
    ASSERT_EQ(first->Acquire(), Platform::SingleCopyLock::Result::Held) << first->Problem();
    EXPECT_EQ(first->Acquire(), Platform::SingleCopyLock::Result::Held); // asking again keeps it

    Platform::SingleCopyLock second(name);
    EXPECT_EQ(second.Acquire(), Platform::SingleCopyLock::Result::TakenByAnother);
    EXPECT_EQ(second.Where(), first->Where());

    first.reset();
    Platform::SingleCopyLock third(name);
    EXPECT_EQ(third.Acquire(), Platform::SingleCopyLock::Result::Held);
}

TEST(SingleCopyLock, DifferentNamesDoNotMeet)
{
    const std::string name = UniqueLockName();
    Platform::SingleCopyLock a(name + "a");
    Platform::SingleCopyLock b(name + "b");
    EXPECT_EQ(a.Acquire(), Platform::SingleCopyLock::Result::Held);
    EXPECT_EQ(b.Acquire(), Platform::SingleCopyLock::Result::Held);
    EXPECT_NE(a.Where(), b.Where());
}

} // namespace
