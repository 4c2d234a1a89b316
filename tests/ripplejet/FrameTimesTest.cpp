// The benchmark's summary, and a session of any length held in the same
// memory.
#include "app/FrameTimes.h"

#include <gtest/gtest.h>

namespace {

using Ripplejet::FrameTimes;

TEST(FrameTimes, SummarisesTheFramesBetweenMarksByNearestRank)
{
    FrameTimes times;
    EXPECT_EQ(times.summary(), "0 frames");
    long long now = 5'000'000;
    times.mark(now);
    EXPECT_EQ(times.getCount(), 0u) << "the first mark only starts the count";
    for (int i = 0; i < 18; ++i) {
        times.mark(now += 16'667);
    }
    times.mark(now += 20'004);
    times.mark(now += 45'000);
    EXPECT_EQ(times.getCount(), 20u);
    EXPECT_EQ(times.summary(),
              "20 frames, mean 18.25 ms, median 16.66 ms, 95th percentile 20.00 ms, worst 45.00 ms");
}

TEST(FrameTimes, ALongStallIsTheWorstAndAboveEveryPercentileOfAMillionFrames)
{
    FrameTimes times;
    long long now = 0;
    times.mark(now);
    times.mark(now += 3'500'000);
    EXPECT_EQ(times.summary(), "1 frames, mean 3500.00 ms, median 3500.00 ms, 95th percentile 3500.00 ms, "
                               "worst 3500.00 ms");
    // Hours of frames (a clock that goes back counts as a frame of no length).
    times.mark(now -= 1000);
    for (int i = 0; i < 1'000'000; ++i) {
        times.mark(now += 10'000);
    }
    EXPECT_EQ(times.getCount(), 1'000'002u);
    EXPECT_EQ(times.summary(),
              "1000002 frames, mean 10.00 ms, median 10.00 ms, 95th percentile 10.00 ms, worst 3500.00 ms");
}

} // namespace
