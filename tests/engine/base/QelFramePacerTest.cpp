#include "engine/base/QelFramePacer.h"

#include <gtest/gtest.h>

#include "engine/base/QelClock.h"

namespace {

class QelFramePacerTest : public ::testing::Test {
protected:
    // Runs frames of a fixed length and returns the last sleep.
    int32_t RunFrames(int count, uint32_t frameMilliseconds)
    {
        int32_t sleep = 0;
        for (int i = 0; i < count; ++i) {
            clock.Advance(frameMilliseconds);
            sleep = pacer.Pace();
        }
        return sleep;
    }

    // Brings the smoothed frame time to about the given length.
    void Settle(uint32_t frameMilliseconds) { RunFrames(2000, frameMilliseconds); }

    qel::ManualClock clock{5'000'000};
    QelFramePacer pacer;
};

TEST_F(QelFramePacerTest, first_pace_counts_at_most_one_second)
{
    // The first frame measures from clock zero: capped at 1000 ms, so the
    // smoothed time is 1000 / 101 ms, a rate of 101: just fast enough to grow.
    EXPECT_EQ(pacer.Pace(), 2);
    EXPECT_FLOAT_EQ(pacer.SmoothedFrameTime(), 1000.0f / 101.0f);
}

TEST_F(QelFramePacerTest, fast_frames_grow_the_sleep_by_one_per_frame)
{
    Settle(5);  // 200 fps
    const int32_t before = pacer.SleepPerFrame();
    EXPECT_EQ(RunFrames(3, 5), before + 3);
}

TEST_F(QelFramePacerTest, slow_frames_shrink_the_sleep_by_one_per_frame_down_to_one)
{
    RunFrames(50, 5);
    ASSERT_GT(pacer.SleepPerFrame(), 10);
    // A frame rate well below 30: the smoothed time needs a while to cross
    // 33.3 ms, then the sleep falls by one each frame until it rests at 1.
    Settle(100);
    EXPECT_EQ(pacer.SleepPerFrame(), 1);
    EXPECT_EQ(RunFrames(5, 100), 1);
}

TEST_F(QelFramePacerTest, rates_between_30_and_100_keep_the_sleep)
{
    Settle(5);
    Settle(20);  // 50 fps, reached from above: the sleep no longer moves
    const int32_t held = pacer.SleepPerFrame();
    EXPECT_EQ(RunFrames(50, 20), held);
    EXPECT_GT(held, 1);
}

TEST_F(QelFramePacerTest, a_long_stall_counts_as_one_second)
{
    Settle(20);
    const float before = pacer.SmoothedFrameTime();
    clock.Advance(60'000);
    pacer.Pace();
    EXPECT_FLOAT_EQ(pacer.SmoothedFrameTime(), (before * 100.0f + 1000.0f) / 101.0f);
}

TEST_F(QelFramePacerTest, frames_faster_than_the_clock_count_as_fast)
{
    clock.Set(0);
    EXPECT_EQ(pacer.Pace(), 2);  // smoothed 0: an infinite rate
    EXPECT_EQ(pacer.Pace(), 3);
}

}  // namespace
