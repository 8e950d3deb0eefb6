// A request to end reaches the callback on the watcher's own thread, once
// per request; only one watch runs at a time, and a stopped watch can start
// again.
#include "platform/EndRequests.h"
#include "support/TestEndRequests.h"

#include <gtest/gtest.h>

#include <chrono>
#include <future>
#include <thread>

namespace {

TEST(EndRequests, ARequestArrivesOnAnotherThread)
{
    std::promise<std::thread::id> arrived;
    auto onThread = arrived.get_future();
    ASSERT_TRUE(Platform::StartEndRequestWatch([&] { arrived.set_value(std::this_thread::get_id()); }));
    EXPECT_FALSE(Platform::StartEndRequestWatch([] {})); // one watch per process
    TestEndRequests::Raise();
    ASSERT_EQ(onThread.wait_for(std::chrono::seconds(10)), std::future_status::ready);
    EXPECT_NE(onThread.get(), std::this_thread::get_id());
    Platform::StopEndRequestWatch();

    // Started again after the stop, with a new callback.
    std::promise<void> again;
    auto done = again.get_future();
    ASSERT_TRUE(Platform::StartEndRequestWatch([&] { again.set_value(); }));
    TestEndRequests::Raise();
    EXPECT_EQ(done.wait_for(std::chrono::seconds(10)), std::future_status::ready);
    Platform::StopEndRequestWatch();
}

} // namespace
