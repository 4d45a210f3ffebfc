// A crew joins the first mission at game pace, console after console, over
// loopback ENet: each takes the next free bridge station of the Tern (the
// fighter's cockpit flies the Kestrel), with every box of its station
// placed; one more console than there are stations shares the main screen;
// Change Console moves a console on to the next station, held or not. The
// weapons drop-down's torpedo types all have their names.

#include "engine/net/QelEnetNetworkFactoryBase.h"
#include "game/net/ConsoleCatalogue.h"
#include "tests/tools/halvex-server/BareConsole.h"
#include "tests/tools/halvex-server/FrigateInterior.h"
#include "tests/tools/halvex-server/HarnessProcess.h"

#include <gmock/gmock.h>

#include <functional>
#include <memory>
#include <set>
#include <sstream>

namespace harnesstest {
namespace {

using ::testing::HasSubstr;

class BridgeCrewTest : public ::testing::Test {
protected:
    void SetUp() override { Host("first_watch"); }

    // Hosts the shipped mission, dropping any hosted before.
    void Host(const std::string& mission)
    {
        StopHosting();
        consoles.clear();
        folder = std::make_unique<FrigateInteriorFolder>(FrigateInteriorFolder::Shipped{mission});
        gNetworkFactory = &factory;
        harness = std::make_unique<HarnessProcess>(std::vector<std::string>{
            "--data", folder->data.Path().string(), "--mission", mission, "--port", "0", "--seconds", "180"});
        const std::optional<uint16_t> listening = harness->WaitForPort();
        ASSERT_TRUE(listening) << harness->Errors();
        port = *listening;
    }

    void TearDown() override
    {
        StopHosting();
        gNetworkFactory = nullptr;
    }

    void StopHosting()
    {
        if (!harness)
            return;
        harness->Signal(SIGTERM);
        EXPECT_EQ(harness->Wait(), 0) << harness->Errors();
        harness.reset();
    }

    // Frames of every console until the condition holds; false when it never did.
    bool RunFrames(const std::function<bool()>& done)
    {
        return HarnessProcess::RunFramesUntil(
            [this] {
                const bool heartbeat = ++frames % kFramesBetweenHeartbeats == 0;
                for (auto& console : consoles) {
                    console->Receive();
                    if (heartbeat)
                        console->Send(HeartbeatSignal{});
                }
            },
            done);
    }

    // A console that joins and waits for its ship and station.
    BareConsole& Join()
    {
        // The factory keeps a client by its name: each console has a name of its own.
        consoles.push_back(std::make_unique<BareConsole>(factory, "crew " + std::to_string(++joined), port));
        BareConsole& console = *consoles.back();
        EXPECT_TRUE(console.connected);
        EXPECT_TRUE(RunFrames([&] { return console.shipId != 0 && !console.widgetList.empty(); }))
            << "console " << consoles.size() << ": " << console.consoleType << " " << console.widgetList << "\n"
            << harness->Errors();
        return console;
    }

    static std::vector<std::string> Widgets(const BareConsole& console)
    {
        std::vector<std::string> names;
        std::istringstream list(console.widgetList);
        for (std::string name; std::getline(list, name, '^');)
            names.push_back(name);
        return names;
    }

    static constexpr int kFramesBetweenHeartbeats = 100;
    std::unique_ptr<FrigateInteriorFolder> folder;
    QelEnetNetworkFactoryBase factory;
    std::unique_ptr<HarnessProcess> harness;
    uint16_t port = 0;
    std::vector<std::unique_ptr<BareConsole>> consoles;
    int joined = 0;
    int frames = 0;
};

TEST_F(BridgeCrewTest, consoles_take_the_stations_in_turn_and_change_console_moves_one_on)
{
    // The station each console in turn is given, and the widget that makes it one.
    struct Seat {
        const char* station;
        const char* mainWidget;
    };
    const Seat seats[] = {
        {"helm", "helm_normal"},
        {"weapons", "weapon_control"},
        {"engineering", "eng_power_controls"},
        {"science", "science_data"},
        {"comms", "comms_control"},
        {"main_screen", "3dview"},
        {"damage_control", "ship_internal_view"},
        {"fighter_cockpit", "fighter_control"},
        {"main_screen", "3dview"},  // every station held: the main screen is shared
    };
    uint64_t tern = 0;
    for (const Seat& seat : seats) {
        const BareConsole& console = Join();
        EXPECT_EQ(console.consoleType, seat.station);
        EXPECT_THAT(console.widgetList, HasSubstr(seat.mainWidget)) << seat.station;
        if (tern == 0)
            tern = console.shipId;
        if (std::string(seat.station) == "fighter_cockpit")
            EXPECT_NE(console.shipId, tern) << "the cockpit flies the fighter";
        else
            EXPECT_EQ(console.shipId, tern) << seat.station;
    }

    // Comms moves on to the main screen, which another console holds.
    BareConsole& comms = *consoles[4];
    comms.Send(ClientChangeSignal{"change_console"});
    ASSERT_TRUE(RunFrames([&] { return comms.consoleType == "main_screen"; }))
        << comms.consoleType;
    EXPECT_EQ(comms.shipId, tern);

    // The last station's console wraps round to the helm.
    BareConsole& cockpit = *consoles[7];
    cockpit.Send(ClientChangeSignal{"change_console"});
    ASSERT_TRUE(RunFrames([&] { return cockpit.consoleType == "helm"; })) << cockpit.consoleType;
    EXPECT_TRUE(RunFrames([&] { return cockpit.shipId == tern; }));
}

// Every widget of the console table stands on some crew station, so a crew
// reaches each one without writing a mission; but for the manual beam
// camera, which the host's game master view shows, and the steering widgets
// that "helm_normal" draws as the crew's helm option chooses ("helm_movement"
// is its other name).
TEST_F(BridgeCrewTest, every_crew_widget_stands_on_some_station)
{
    std::set<std::string> reached;
    for (int seat = 0; seat < 8; ++seat)
        for (const std::string& widget : Widgets(Join()))
            reached.insert(widget);
    const std::set<std::string> elsewhere{"3dview_camera", "helm_simple", "helm_restrained_3d", "helm_movement"};
    for (const ConsoleWidgetName& row : ConsoleWidgetNames()) {
        if (elsewhere.count(row.name) == 0) {
            EXPECT_EQ(reached.count(row.name), 1u) << row.name << " is on no station";
        }
    }
}

// In both shipped missions: the frigate's record carries these four types,
// and each is named for the drop-down.
TEST_F(BridgeCrewTest, every_torpedo_type_the_ships_carry_has_its_name_and_flight)
{
    for (const char* mission : {"first_watch", "skirmish"}) {
        Host(mission);
        const BareConsole& helm = Join();
        EXPECT_EQ(helm.consoleType, "helm") << mission;
        for (const char* type : {"Homing", "Nuke", "EMP", "Mine"}) {
            ASSERT_TRUE(RunFrames([&] { return helm.sharedStrings.count(type) == 1; })) << mission << " " << type;
            const std::string& definition = helm.sharedStrings.at(type);
            EXPECT_THAT(definition, HasSubstr(std::string("gui_text:") + type)) << definition;
            EXPECT_THAT(definition, HasSubstr("speed:")) << definition;
            EXPECT_THAT(definition, HasSubstr("damage:")) << definition;
        }
    }
}

}  // namespace
}  // namespace harnesstest
