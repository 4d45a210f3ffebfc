// The first mission's story played by a console over loopback ENet while
// halvex-server runs it at game pace: the crew is told each objective, the
// science officer's intel scan of the spotter and the comms officer's report
// to Halcyon move it on, and the raid at the Picket Line follows. Hits past
// the shields open hull breaches that a damage-control team seals; a Tern
// worn down is lost, and that ending pauses the game and stands on the
// console.
//
// The mission is the shipped one with the test's additions appended in the
// test's copy: the helm is taken as flown (each mission tick the Tern stands
// at the nav point the crew heads for), scans take a second, the raiders hit
// as hard as a test needs, and the mission names the spotter and the station.

#include "engine/net/QelEnetNetworkFactoryBase.h"
#include "tests/tools/halvex-server/BareConsole.h"
#include "tests/tools/halvex-server/FrigateInterior.h"
#include "tests/tools/halvex-server/HarnessProcess.h"

#include <gmock/gmock.h>

#include <functional>
#include <iostream>
#include <memory>
#include <regex>

namespace harnesstest {
namespace {

constexpr const char* kFlownByTheTest = R"(

# --- Added by the story test ---
_FLOWN_TO = {"east": EAST, "picket": PICKET, "home": APPROACH}
_story_tick = mission_tick
_story_build = build_world


def mission_tick(sim):
    goal = _FLOWN_TO.get(step_name())
    if goal and not game["over"]:
        x, y, z = [p for text, p, _ in NAV_POINTS if text == goal][0]
        sim.reposition_space_object(sim.get_space_object(player_ship_id), x, y, z)
    _story_tick(sim)


def build_world(sim):
    _story_build(sim)
    data = sim.get_space_object(player_ship_id).data_set
    data.set("closest_scan_delay", 1.0, 0)
    data.set("farthest_scan_delay", 1.0, 0)
    print("story test: spotter %d station %d" % (game["spotter"], game["station"]), flush=True)
)";

// The raiders' beams, times a hull record's: a few volleys wear the Tern out.
constexpr const char* kDeadlyRaiders = "\nBEAM_DAMAGES = (1.0, 40.0, 1.0)\n";
// Raiders that wear the shields and open breaches, but never finish her.
constexpr const char* kGlancingRaiders = "\nBEAM_DAMAGES = (1.0, 6.0, 1.0)\nLOST_AT_WEAR = 2.0\n";

class FirstWatchStoryTest : public ::testing::Test {
protected:
    void Start(const std::string& additions)
    {
        const std::string script = folder.data.Read("missions/first_watch/script.py");
        folder.data.Write("missions/first_watch/script.py", script + kFlownByTheTest + additions);
        gNetworkFactory = &factory;
        harness = std::make_unique<HarnessProcess>(std::vector<std::string>{
            "--data", folder.data.Path().string(), "--mission", "first_watch", "--port", "0", "--seconds", "180"});
        const std::optional<uint16_t> port = harness->WaitForPort();
        ASSERT_TRUE(port) << harness->Errors();
        console = std::make_unique<BareConsole>(factory, "crew", *port);
        ASSERT_TRUE(console->connected);
        const std::optional<std::string> named = harness->WaitForLine("story test: ", [&] { Frame(); });
        ASSERT_TRUE(named) << harness->Errors();
        std::smatch ids;
        ASSERT_TRUE(std::regex_search(*named, ids, std::regex(R"(spotter (\d+) station (\d+))")));
        spotter = std::stoull(ids[1]);
        station = std::stoull(ids[2]);
        ASSERT_TRUE(RunFrames([&] { return console->shipId != 0; })) << harness->Errors();
    }

    void TearDown() override
    {
        if (harness) {
            harness->Signal(SIGTERM);
            EXPECT_EQ(harness->Wait(), 0) << harness->Errors();
            if (HasFailure())
                std::cout << "what the mission printed:\n" << harness->Output();
        }
        gNetworkFactory = nullptr;
    }

    void Frame()
    {
        console->Receive();
        if (++frames % kFramesBetweenHeartbeats == 0) {
            console->Send(HeartbeatSignal{});
            console->Send(GridRequestSignal{0});
        }
    }

    // Console frames until the condition holds; false when it never did.
    bool RunFrames(const std::function<bool()>& done)
    {
        return HarnessProcess::RunFramesUntil([this] { Frame(); }, done);
    }

    bool WaitToBeTold(const std::string& words)
    {
        const bool told = RunFrames([&] { return console->Told(words); });
        EXPECT_TRUE(told) << "never told \"" << words << "\"\n" << harness->Output() << harness->Errors();
        return told;
    }

    // Plays the story up to the raid: each step is told, and done as the crew would.
    void PlayToTheRaid()
    {
        ASSERT_TRUE(WaitToBeTold("Helm: lay in a course for Patrol East."));
        ASSERT_TRUE(WaitToBeTold("Run an intel scan of the Skarn Spotter"));
        console->Send(ScanCommandSignal{spotter, "start", "intel"});
        ASSERT_TRUE(WaitToBeTold("the spotter's logs name a raid"));
        ASSERT_TRUE(WaitToBeTold("Comms: report what the spotter carried"));
        // The report is offered on Halcyon's panel only now.
        ASSERT_TRUE(RunFrames([&] {
            return std::any_of(console->commsPanel.begin(), console->commsPanel.end(),
                               [](const ConsoleInfoEntry& button) { return button.third == "halcyon_report"; });
        }));
        console->Send(CommsButtonSignal{"halcyon_report", console->shipId, station});
        ASSERT_TRUE(WaitToBeTold("Hold the Picket Line and draw them out"));
        ASSERT_TRUE(WaitToBeTold("Two Skarn raiders inbound"));
    }

    static constexpr int kFramesBetweenHeartbeats = 100;
    FrigateInteriorFolder folder{FrigateInteriorFolder::Shipped{"first_watch"}};
    QelEnetNetworkFactoryBase factory;
    std::unique_ptr<HarnessProcess> harness;
    std::unique_ptr<BareConsole> console;
    uint64_t spotter = 0;
    uint64_t station = 0;
    int frames = 0;
};

TEST_F(FirstWatchStoryTest, the_patrol_the_scan_and_the_report_bring_the_raid_that_loses_an_idle_tern)
{
    Start(kDeadlyRaiders);
    ASSERT_NO_FATAL_FAILURE(PlayToTheRaid());
    EXPECT_TRUE(harness->WaitForLine("first_watch: objective picket", [&] { Frame(); }));
    EXPECT_THAT(console->storyTitles, ::testing::Contains("Halcyon Control"));

    // Nobody fights back: the breaches open and the Tern is lost.
    ASSERT_TRUE(WaitToBeTold("Hull breach"));
    ASSERT_TRUE(RunFrames([&] { return console->paused && console->HasWidget("bridge_notice"); }))
        << harness->Output();
    EXPECT_TRUE(harness->WaitForLine("first_watch: the tern is lost", [&] { Frame(); }));
    EXPECT_THAT(console->storyTitles, ::testing::Contains("The Tern is lost"));
    EXPECT_TRUE(console->Told("The Tern is lost."));
}

TEST_F(FirstWatchStoryTest, a_damage_control_team_sent_to_a_breach_seals_it)
{
    Start(kGlancingRaiders);
    ASSERT_NO_FATAL_FAILURE(PlayToTheRaid());
    ASSERT_TRUE(WaitToBeTold("Hull breach"));
    // From the helm on to weapons and on to engineering.
    for (const char* station : {"weapons", "engineering"}) {
        console->Send(ClientChangeSignal{"change_console"});
        ASSERT_TRUE(RunFrames([&] { return console->consoleType == station; })) << console->consoleType;
    }
    EXPECT_TRUE(RunFrames([&] {
        return std::any_of(console->gridPanel.begin(), console->gridPanel.end(),
                           [](const ConsoleInfoEntry& button) { return button.third == "dc_seal"; });
    })) << "the engineering console has the team's buttons";

    uint64_t team = 0;
    ASSERT_TRUE(RunFrames([&] {
        team = console->GridObjectNamed("Team Alder");
        return team != 0;
    })) << "the interior's teams reach the console";
    console->Send(GridObjectSelectionSignal{console->shipId, team, "engineering", "grid_object_list"});
    console->Send(GridButtonSignal{"dc_seal", console->shipId, team});
    ASSERT_TRUE(WaitToBeTold("Team Alder: On our way to the breach"));
    ASSERT_TRUE(WaitToBeTold("Team Alder: breach by the"));
    EXPECT_FALSE(console->paused);
}

}  // namespace
}  // namespace harnesstest
