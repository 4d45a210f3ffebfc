#include "ScriptTestSupport.h"

#include "game/script/MissionTickClock.h"

#include <gmock/gmock.h>

#include <algorithm>

namespace scripttest {
namespace {

class MissionTickClockTest : public MissionTest {
protected:
    // The ticks (1-based) at which the mission saw a "mission_tick" in the
    // first count ticks.
    std::vector<int> MissionTickTicks(MissionTickClock& clock, int count)
    {
        std::vector<int> ticks;
        for (int tick = 1; tick <= count; ++tick) {
            clock.Tick(host(), 800, 600);
            if (Eval("len(received) and received[-1].tag") == "mission_tick") {
                ticks.push_back(tick);
                Run("received.clear()");
            }
        }
        return ticks;
    }
};

TEST_F(MissionTickClockTest, the_mission_tick_comes_every_delay_plus_one_ticks)
{
    struct Case {
        int32_t preference;
        std::vector<int> ticks;
    };
    const Case cases[] = {
        {0, {31, 62, 93}},
        {-4, {31, 62, 93}},
        {1, {2, 4, 6, 8}},
        {45, {46, 92}},
    };
    host().Start("echo");
    for (const Case& c : cases) {
        MissionTickClock clock;
        clock.SetDelayFromPreference(c.preference);
        EXPECT_EQ(MissionTickTicks(clock, static_cast<int>(c.ticks.size()) * (clock.Delay() + 1)), c.ticks)
            << "preference " << c.preference;
    }
}

TEST_F(MissionTickClockTest, the_mission_tick_carries_the_run_state_and_window_size)
{
    host().Start("echo");
    MissionTickClock clock;
    clock.SetDelayFromPreference(1);
    clock.Tick(host(), 1024, 768);
    clock.Tick(host(), 1024, 768);
    host().simRunning = true;
    clock.Tick(host(), 1024, 768);
    clock.Tick(host(), 1024, 768);

    EXPECT_EQ(Eval("[e.sub_tag for e in received]"), "['sim_paused', 'sim_running']");
    EXPECT_EQ(Eval("(lambda p: (p.x, p.y, p.z))(received[0].source_point)"), "(1024.0, 768.0, 0.0)");
}

TEST_F(MissionTickClockTest, queued_events_come_first_and_debug_trees_follow_the_mission_tick)
{
    host().Start("echo");
    host().eventQueue.push_back(Event("player_launches_missile"));
    host().debugTreeRequests = {"tree one", "tree two"};
    MissionTickClock clock;
    clock.SetDelayFromPreference(1);
    clock.Tick(host(), 1, 1);
    clock.Tick(host(), 1, 1);

    EXPECT_EQ(Eval("[(e.tag, e.sub_tag) for e in received]"),
              "[('player_launches_missile', ''), ('mission_tick', 'sim_paused'), ('debug_rgui_tree', 'tree one'), "
              "('debug_rgui_tree', 'tree two')]");
    EXPECT_TRUE(host().eventQueue.empty());
    EXPECT_TRUE(host().debugTreeRequests.empty());
}

TEST_F(MissionTickClockTest, events_queued_without_a_mission_wait_for_the_next_one)
{
    MissionTickClock clock;
    host().eventQueue.push_back(Event("early"));
    for (int i = 0; i < 40; ++i)
        clock.Tick(host(), 1, 1);
    EXPECT_EQ(host().eventQueue.size(), 1u);

    host().Start("echo");
    clock.Tick(host(), 1, 1);
    EXPECT_EQ(Eval("[e.tag for e in received]"), "['early']");
}

TEST_F(MissionTickClockTest, the_dmx_call_runs_with_each_mission_tick)
{
    data.Write("missions/echo/dmx.py", "def HandleDMX(sim):\n    print('dmx')\n");
    host().Start("echo");
    MissionTickClock clock;
    clock.SetDelayFromPreference(2);
    for (int i = 0; i < 6; ++i)
        clock.Tick(host(), 1, 1);
    const std::vector<std::string> lines = log.Texts();
    EXPECT_EQ(std::count(lines.begin(), lines.end(), "dmx"), 2);
}

}  // namespace
}  // namespace scripttest
