// A console that is connected when a mission starts raises no
// "client_connect" there. halvex-server runs a mission that crews the
// console and then hands over to the guide's own Picket Duty; the game's
// own client in this process, with this machine's console screen, is then
// crewed by Picket Duty as well: its console, its ship and its first line.

#include "game/ui/TextLog.h"
#include "game/widgets/LocalConsoleScreen.h"
#include "tests/tools/halvex-server/MissionGuide.h"
#include "tests/tools/halvex-server/loopback/LocalConsoleFixture.h"

#include <gtest/gtest.h>

namespace harnesstest {
namespace {

// Crews every console as a relay, and hands over at the first mission tick
// that finds one crewed.
constexpr const char* kRelay = R"(import zmx

crewed = []


def halvex_event_handler(sim, event):
    if event.tag == "client_connect":
        zmx.send_client_widget_list(event.client_id, "relay", "text_waterfall")
        crewed.append(event.client_id)
    elif event.tag == "mission_tick" and crewed:
        zmx.run_next_mission("picket_duty")
)";

class MissionHandoverConsoleTest : public LocalConsoleFixture {
protected:
    MissionHandoverConsoleTest() : LocalConsoleFixture(kRelay) {}

    void SetUp() override
    {
        const Guide guide;
        const CodeBlock* picketDuty = guide.BlockUnder("The whole mission", "python");
        ASSERT_NE(picketDuty, nullptr);
        folder.data.Write("missions/picket_duty/script.py", picketDuty->text);
        LocalConsoleFixture::SetUp();
    }

    static bool MessageShown(const std::string& text)
    {
        for (size_t i = 0; i < theMessageLog.Count(); ++i)
            if (theMessageLog.Line(i).text == text)
                return true;
        return false;
    }
};

TEST_F(MissionHandoverConsoleTest, the_guides_mission_crews_a_console_connected_before_it_started)
{
    ASSERT_TRUE(client->Connect("127.0.0.1"));
    ASSERT_TRUE(RunFrames([this] { return screen.ConsoleName() == "relay"; })) << harness->Errors();

    ASSERT_TRUE(RunFrames([] { return MessageShown("Hold the picket until relief arrives."); }))
        << harness->Output() << harness->Errors();
    EXPECT_EQ(screen.ConsoleName(), "captain");
    EXPECT_NE(world.subjectID, 0u) << "the console was given the Tern";
    ASSERT_TRUE(harness->WaitForLine("picket_duty: the Tern holds the picket against two raiders"));
}

}  // namespace
}  // namespace harnesstest
