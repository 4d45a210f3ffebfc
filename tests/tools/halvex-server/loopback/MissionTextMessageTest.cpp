// The mission's terse messages reach a console's text waterfall: halvex-server
// runs a mission that greets every console it crews, and the game's own client
// in this process, with this machine's console screen, receives the lines into
// the message box the waterfall draws, each in its colour.

#include "game/ui/TextLog.h"
#include "game/widgets/LocalConsoleScreen.h"
#include "tests/tools/halvex-server/loopback/LocalConsoleFixture.h"

#include <gtest/gtest.h>

namespace harnesstest {
namespace {

// Every console is given the frigate and a waterfall, then told three lines:
// one for every console, one for the consoles of its ship, one for it alone.
constexpr const char* kMission = R"(import zmx

ship_id = 0


def halvex_event_handler(sim, event):
    global ship_id
    if ship_id == 0:
        zmx.create_new_sim()
        ship_id = sim.create_space_object("behav_playership", "tern_frigate", 0)
        zmx.resume_sim()
    if event.tag == "client_connect":
        zmx.assign_client_to_ship(event.client_id, ship_id)
        zmx.send_client_widget_list(event.client_id, "helm", "text_waterfall")
        zmx.send_message_to_player_ship(0, "lime", "All hands: general quarters")
        zmx.send_message_to_player_ship(ship_id, "#ff8000", "Tern: raise shields")
        zmx.send_message_to_client(event.client_id, "0.5,0.5,1.0", "Helm: steady as she goes")
)";

class MissionTextMessageTest : public LocalConsoleFixture {
protected:
    MissionTextMessageTest() : LocalConsoleFixture(kMission) {}
};

TEST_F(MissionTextMessageTest, the_missions_messages_reach_the_consoles_text_waterfall_in_their_colours)
{
    ASSERT_TRUE(client->Connect("127.0.0.1"));
    ASSERT_TRUE(RunFrames([] { return theMessageLog.Count() >= 3; })) << harness->Errors();

    struct Expected {
        const char* text;
        glm::vec4 colour;
    };
    const Expected expected[] = {{"All hands: general quarters", {0.0f, 1.0f, 0.0f, 1.0f}},
                                 {"Tern: raise shields", {1.0f, 128.0f / 255.0f, 0.0f, 1.0f}},
                                 {"Helm: steady as she goes", {0.5f, 0.5f, 1.0f, 1.0f}}};
    ASSERT_EQ(theMessageLog.Count(), std::size(expected));
    for (size_t i = 0; i < std::size(expected); ++i) {
        EXPECT_EQ(theMessageLog.Line(i).text, expected[i].text) << i;
        for (int c = 0; c < 4; ++c)
            EXPECT_NEAR(theMessageLog.Line(i).colour[c], expected[i].colour[c], 1e-3f) << i << " component " << c;
    }
    EXPECT_EQ(screen.ConsoleName(), "helm");
}

}  // namespace
}  // namespace harnesstest
