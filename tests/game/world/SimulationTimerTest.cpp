#include "game/world/SimulationTimer.h"

#include "game/world/SimulationClock.h"

#include <gtest/gtest.h>

namespace {

class SimulationTimerTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        clock.generation = 3;
        SetCurrentSimulationClock(&clock);
    }
    void TearDown() override { SetCurrentSimulationClock(nullptr); }

    SimulationClock clock;
};

struct DeadlineCase {
    const char* name;
    int64_t setAt;
    bool inSeconds;  // else milliseconds
    int32_t amount;
    int64_t deadline;
};

TEST_F(SimulationTimerTest, deadlines_truncate_toward_zero_and_expire_at_the_deadline_tick)
{
    const DeadlineCase cases[] = {
        {"one second is 30 ticks", 100, true, 1, 130},
        {"two seconds are 60 ticks", 100, true, 2, 160},
        {"32 ms adds nothing", 100, false, 32, 100},
        {"33 ms is one tick", 100, false, 33, 101},
        {"negative seconds lie in the past", 100, true, -1, 70},
        {"negative ms truncate toward zero", 100, false, -40, 99},
        {"a long wait does not wrap into the past", 100, true, 3'000'000, 100 + 90'909'090},
    };
    for (const DeadlineCase& c : cases) {
        SCOPED_TRACE(c.name);
        clock.time_tick_counter = c.setAt;
        simulationTimer timer;
        if (c.inSeconds)
            timer.SetSeconds(c.amount);
        else
            timer.SetMilliseconds(c.amount);
        EXPECT_EQ(timer.tick, c.deadline);
        EXPECT_EQ(timer.generation, 3);

        EXPECT_EQ(timer.IsExpired(), c.deadline <= c.setAt) << "when set";
        clock.time_tick_counter = c.deadline - 1;
        EXPECT_FALSE(timer.IsExpired()) << "one tick before the deadline";
        clock.time_tick_counter = c.deadline;
        EXPECT_TRUE(timer.IsExpired()) << "at the deadline";
    }
}

TEST_F(SimulationTimerTest, timer_from_an_earlier_run_is_expired_after_reset)
{
    clock.time_tick_counter = 500;
    simulationTimer timer;
    timer.SetSeconds(10);
    EXPECT_FALSE(timer.IsExpired());

    clock.StartNewRun();
    EXPECT_EQ(clock.time_tick_counter, 0);
    EXPECT_EQ(clock.generation, 4);
    EXPECT_TRUE(timer.IsExpired());

    timer.SetSeconds(1);
    EXPECT_FALSE(timer.IsExpired()) << "a timer set in the new run waits again";
    clock.StartNewRun();
    clock.StartNewRun();
    EXPECT_EQ(clock.generation, 6);
    EXPECT_TRUE(timer.IsExpired());
}

TEST_F(SimulationTimerTest, generations_cycle_through_ten_runs)
{
    clock.generation = 9;
    clock.StartNewRun();
    EXPECT_EQ(clock.generation, 0);
}

TEST_F(SimulationTimerTest, zeroed_timer_is_expired_and_set_now_is_expired_at_once)
{
    clock.time_tick_counter = 42;
    EXPECT_TRUE(simulationTimer{}.IsExpired());
    simulationTimer timer;
    timer.SetNow();
    EXPECT_EQ(timer.tick, 42);
    EXPECT_EQ(timer.generation, 3);
    EXPECT_TRUE(timer.IsExpired());
}

TEST(SimulationTimerWithoutWorld, never_expires_and_keeps_its_deadline)
{
    SetCurrentSimulationClock(nullptr);
    simulationTimer timer;
    timer.tick = 77;
    timer.generation = 5;
    timer.SetSeconds(4);
    timer.SetMilliseconds(400);
    EXPECT_EQ(timer.tick, 77);
    EXPECT_EQ(timer.generation, 5);
    EXPECT_FALSE(timer.IsExpired());
    EXPECT_FALSE(simulationTimer{}.IsExpired()) << "even a zeroed timer waits without a world";

    timer.SetNow();
    EXPECT_EQ(timer.tick, 0);
    EXPECT_EQ(timer.generation, 0);
}

}  // namespace
