#include "engine/base/QelFrameLoop.h"

#include <gtest/gtest.h>

#include "engine/base/PerSecondCounterMap.h"
#include "engine/base/QelClock.h"
#include "tests/engine/base/RecordingGameLoop.h"

namespace {

// The real clock counts from boot, so it is far from zero at the first frame.
constexpr uint32_t kBootTime = 5'000'000;

class QelFrameLoopTest : public ::testing::Test {
protected:
    int TicksOfFrame()
    {
        game.calls.clear();
        frame.Frame();
        return game.Count("SimulationTick 33");
    }

    qel::ManualClock clock{kBootTime};
    RecordingGameLoop game;
    QelFrameLoop frame{game, game};
};

TEST_F(QelFrameLoopTest, first_frame_runs_exactly_six_ticks_and_keeps_two_ms)
{
    EXPECT_EQ(TicksOfFrame(), 6);
    EXPECT_EQ(frame.Backlog(), 2u);
}

TEST_F(QelFrameLoopTest, backlog_gains_elapsed_time_capped_at_200_ms_per_frame)
{
    struct Case {
        const char* name;
        uint32_t elapsed;
        int ticks;
        uint32_t backlogAfter;
    };
    // Each case starts from the first frame's leftover of 2 ms.
    const Case cases[] = {
        {"frame_of_30_ms_runs_no_tick", 30, 0, 32},
        {"frame_of_31_ms_reaches_33_and_ticks", 31, 1, 0},
        {"frame_of_40_ms_runs_one_tick_and_carries_9", 40, 1, 9},
        {"frame_of_200_ms_runs_six_ticks", 200, 6, 4},
        {"stall_of_five_seconds_still_runs_six_ticks", 5000, 6, 4},
    };
    for (const Case& c : cases) {
        QelFrameLoop fresh(game, game);
        clock.Set(kBootTime);
        game.calls.clear();
        fresh.Frame();
        clock.Advance(c.elapsed);
        game.calls.clear();
        fresh.Frame();
        EXPECT_EQ(game.Count("SimulationTick 33"), c.ticks) << c.name;
        EXPECT_EQ(fresh.Backlog(), c.backlogAfter) << c.name;
    }
}

TEST_F(QelFrameLoopTest, leftover_below_one_tick_carries_into_later_frames)
{
    TicksOfFrame();  // backlog 2
    int ticks = 0;
    for (int i = 0; i < 10; ++i) {
        clock.Advance(10);
        ticks += TicksOfFrame();
    }
    // 2 + 100 ms: three ticks, 3 ms left.
    EXPECT_EQ(ticks, 3);
    EXPECT_EQ(frame.Backlog(), 3u);
}

TEST_F(QelFrameLoopTest, clock_wrapping_past_zero_still_measures_the_true_gap)
{
    clock.Set(0xFFFFFFF0u);
    TicksOfFrame();
    clock.Advance(0x20);  // wraps to 0x10; 32 ms passed
    EXPECT_EQ(TicksOfFrame(), 1);
    EXPECT_EQ(frame.Backlog(), 1u);
}

TEST_F(QelFrameLoopTest, one_frame_calls_every_step_in_order)
{
    TicksOfFrame();
    clock.Advance(66 - 2);  // exactly two ticks
    TicksOfFrame();
    const std::vector<std::string> expected = {
        "BeginFrame",
        "SceneFrameUpdate", "SimulationFrameUpdate", "ServerFrameUpdate", "ClientFrameUpdate",
        "SimulationTick 33", "SceneTick", "ServerTick", "ClientTick",
        "SimulationTick 33", "SceneTick", "ServerTick", "ClientTick",
        "UpdateInput", "ClearBackBuffer", "Draw", "Present", "EndFrame",
    };
    EXPECT_EQ(game.calls, expected);
}

TEST_F(QelFrameLoopTest, counts_ticks_and_frames_per_second)
{
    PerSecondCounterMap& counters = PerSecondCounterMap::Instance();
    counters.Clear();
    TicksOfFrame();
    PerSecondCounter& ticks = counters.GetCounter("raw sim ticks/sec");
    PerSecondCounter& frames = counters.GetCounter("raw draw frames/sec");
    EXPECT_EQ(ticks.buckets[ticks.currentIndex], 6.0f);
    EXPECT_EQ(frames.buckets[frames.currentIndex], 1.0f);
}

}  // namespace
