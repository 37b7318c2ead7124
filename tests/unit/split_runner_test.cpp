#include "view/split_runner.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>
#include <vector>

namespace zz {
namespace {

TEST(SplitRunner, RunsEveryPartOnceOnEitherLaneBeforeReturning) {
    SplitRunner runner;
    for (int count : {0, 1, 2, 7, 64}) {
        std::vector<std::atomic<int>> runs(std::size_t(count) + 1);
        std::atomic<int> lanes[2] = {0, 0};
        std::atomic<int> running = 0;
        std::atomic<bool> overlapInLane = false;
        std::atomic<int> inLane[2] = {0, 0};
        runner.Run(count, [&](int part, int lane) {
            if (inLane[lane]++ != 0) {
                overlapInLane = true;  // one part at a time per lane
            }
            ++running;
            std::this_thread::sleep_for(std::chrono::microseconds(200));
            ++runs[std::size_t(part)];
            ++lanes[lane];
            --running;
            --inLane[lane];
        });
        EXPECT_EQ(running.load(), 0) << count;  // nothing still running after the return
        EXPECT_FALSE(overlapInLane.load());
        for (int part = 0; part < count; ++part) {
            EXPECT_EQ(runs[std::size_t(part)].load(), 1) << count << " part " << part;
        }
        EXPECT_EQ(runs[std::size_t(count)].load(), 0);
        EXPECT_EQ(lanes[0] + lanes[1], count);
    }
}

TEST(SplitRunner, ACallerAloneFinishesWhenTheHelperIsSlowToCome) {
    SplitRunner runner;
    // Many short runs in a row: an offer the helper takes late must never run a part of a job
    // that has returned, nor a part twice.
    for (int round = 0; round < 2000; ++round) {
        std::vector<int> runs(3, 0);
        std::atomic<int> total = 0;
        runner.Run(3, [&](int part, int) {
            ++runs[std::size_t(part)];  // no two lanes take one part, so this needs no lock
            ++total;
        });
        ASSERT_EQ(total.load(), 3) << round;
        ASSERT_EQ(runs, (std::vector<int>{1, 1, 1})) << round;
    }
}

}  // namespace
}  // namespace zz
