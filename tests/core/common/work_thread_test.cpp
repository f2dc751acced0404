// SPDX-License-Identifier: GPL-3.0-or-later
// The batch's writing thread: jobs run in the order given, a caller that gets too far ahead
// waits, and Wait (or the end) sees every job done.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <future>
#include <vector>

#include "core/common/work_thread.h"

namespace songloader {
namespace {

TEST(WorkThread, RunsJobsInOrderAndHoldsBackACallerTooFarAhead) {
    std::vector<int> done;
    {
        WorkThread thread(2);
        for (int i = 0; i < 100; ++i) thread.Run([&done, i] { done.push_back(i); });
        thread.Wait();
        ASSERT_EQ(done.size(), 100u);
        for (int i = 0; i < 100; ++i) EXPECT_EQ(done[static_cast<std::size_t>(i)], i);

        // One job running and two waiting: the next caller waits until one of them is taken.
        std::promise<void> release;
        std::shared_future<void> released = release.get_future().share();
        thread.Run([released] { released.wait(); });
        std::atomic<int> ran{0};
        for (int i = 0; i < 2; ++i) thread.Run([&ran] { ++ran; });
        auto late = std::async(std::launch::async, [&] { thread.Run([&ran] { ++ran; }); });
        EXPECT_EQ(late.wait_for(std::chrono::milliseconds(100)), std::future_status::timeout);
        release.set_value();
        late.get();
        thread.Wait();
        EXPECT_EQ(ran.load(), 3);
        // The end waits for what is still given.
        for (int i = 0; i < 10; ++i) thread.Run([&done, i] { done.push_back(100 + i); });
    }
    EXPECT_EQ(done.size(), 110u);
}

}  // namespace
}  // namespace songloader
