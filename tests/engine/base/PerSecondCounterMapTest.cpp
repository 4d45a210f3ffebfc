#include "engine/base/PerSecondCounterMap.h"

#include "engine/base/QelClock.h"

#include <gtest/gtest.h>

#include <thread>
#include <vector>

namespace {

class PerSecondCounterMapTest : public ::testing::Test {
protected:
    void SetUp() override { PerSecondCounterMap::Instance().Clear(); }
    PerSecondCounter& Counter() { return PerSecondCounterMap::Instance().GetCounter("test/sec"); }

    qel::ManualClock clock{1'000'000};
};

TEST_F(PerSecondCounterMapTest, first_use_lands_where_the_long_loop_would_have)
{
    // 1000 s since the clock's zero: 1000 steps of a 200-bucket ring end at 0.
    AddPerSecondCounter(3.0f, "test/sec");
    EXPECT_EQ(Counter().currentIndex, 1000 % 200);
    EXPECT_EQ(Counter().buckets[Counter().currentIndex], 3.0f);
    EXPECT_EQ(Counter().lastAdvance, 1'000'000u);
    EXPECT_EQ(Counter().name, "test/sec");
}

TEST_F(PerSecondCounterMapTest, additions_two_and_a_half_seconds_apart_leave_one_zeroed_bucket)
{
    AddPerSecondCounter(1.0f, "test/sec");
    const int start = Counter().currentIndex;
    AddPerSecondCounter(1.0f, "test/sec");
    EXPECT_EQ(Counter().buckets[start], 2.0f);

    clock.Advance(2500);
    AddPerSecondCounter(4.0f, "test/sec");
    EXPECT_EQ(Counter().currentIndex, (start + 2) % 200);
    EXPECT_EQ(Counter().buckets[(start + 1) % 200], 0.0f);
    EXPECT_EQ(Counter().buckets[(start + 2) % 200], 4.0f);
    EXPECT_EQ(Counter().buckets[start], 2.0f);
}

TEST_F(PerSecondCounterMapTest, oldest_bucket_is_overwritten_but_max_is_kept)
{
    AddPerSecondCounter(50.0f, "test/sec");
    const int start = Counter().currentIndex;
    for (int second = 1; second <= 200; ++second) {
        clock.Advance(1000);
        AddPerSecondCounter(1.0f, "test/sec");
    }
    EXPECT_EQ(Counter().currentIndex, start);
    EXPECT_EQ(Counter().buckets[start], 1.0f);
    EXPECT_EQ(Counter().max, 50.0f);
}

TEST_F(PerSecondCounterMapTest, long_pause_clears_every_bucket)
{
    AddPerSecondCounter(5.0f, "test/sec");
    clock.Advance(1000);
    AddPerSecondCounter(5.0f, "test/sec");
    const int before = Counter().currentIndex;
    clock.Advance(450'000);
    AddPerSecondCounter(1.0f, "test/sec");
    EXPECT_EQ(Counter().currentIndex, (before + 450) % 200);
    float total = 0.0f;
    for (float bucket : Counter().buckets)
        total += bucket;
    EXPECT_EQ(total, 1.0f);
}

TEST_F(PerSecondCounterMapTest, counting_from_several_threads_loses_nothing)
{
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t)
        threads.emplace_back([] {
            for (int i = 0; i < 1000; ++i)
                AddPerSecondCounter(1.0f, "test/sec");
        });
    for (std::thread& thread : threads)
        thread.join();
    EXPECT_EQ(Counter().buckets[Counter().currentIndex], 4000.0f);
}

}  // namespace
