// A mission hands over to the next one in halvex-server as in the window
// program: the script's run_next_mission stops it and starts the named
// mission on the next frame, the last name asked for winning. A name that
// holds no mission is refused in one line of the mission's output, and the
// mission goes on; a next mission that cannot load ends the run.

#include "tests/tools/halvex-server/HarnessData.h"
#include "tests/tools/halvex-server/HarnessProcess.h"

#include <gmock/gmock.h>

namespace harnesstest {
namespace {

using ::testing::HasSubstr;
using ::testing::Not;

// Asks for the missions of its first mission tick, one after another, and
// counts its ticks.
std::string RelayMission(const std::string& firstTickCalls)
{
    return "import zmx\n"
           "ticks = 0\n"
           "def halvex_event_handler(sim, event):\n"
           "    global ticks\n"
           "    if event.tag != 'mission_tick':\n"
           "        return\n"
           "    ticks += 1\n"
           "    print('relay: mission_tick %d' % ticks)\n"
           "    if ticks == 1:\n" +
           firstTickCalls;
}

std::string AnnouncingMission(const std::string& name)
{
    return "import zmx\n"
           "print('" + name + ": loaded')\n"
           "def halvex_event_handler(sim, event):\n"
           "    if event.tag == 'mission_tick':\n"
           "        print('" + name + ": mission_tick')\n";
}

TEST(MissionHandoverTest, the_last_mission_asked_for_takes_over_on_the_next_frame)
{
    MissionFolder folder(RelayMission("        zmx.run_next_mission('handover_c')\n"
                                      "        zmx.run_next_mission('handover_b')\n"));
    folder.data.Write("missions/handover_b/script.py", AnnouncingMission("handover_b"));
    folder.data.Write("missions/handover_c/script.py", AnnouncingMission("handover_c"));
    HarnessProcess harness({"--data", folder.data.Path().string(), "--mission", "trial", "--fast", "--ticks", "200"});
    ASSERT_EQ(harness.Wait(), 0) << harness.Errors();
    const std::string& output = harness.Output();
    EXPECT_THAT(output, HasSubstr("relay: mission_tick 1\nhandover_b: loaded\n"));
    EXPECT_THAT(output, HasSubstr("handover_b: mission_tick\n"));
    EXPECT_THAT(output, Not(HasSubstr("relay: mission_tick 2"))) << "the first mission went on";
    EXPECT_THAT(output, Not(HasSubstr("handover_c"))) << "an earlier call of the same frame won";
}

TEST(MissionHandoverTest, a_name_that_holds_no_mission_is_named_and_the_mission_goes_on)
{
    MissionFolder folder(RelayMission("        for name in ('handover_missing', 'handover_empty', '../trial', ''):\n"
                                      "            zmx.run_next_mission(name)\n"));
    folder.data.Write("missions/handover_empty/notes.txt", "no script yet\n");
    HarnessProcess harness({"--data", folder.data.Path().string(), "--mission", "trial", "--fast", "--ticks", "100"});
    ASSERT_EQ(harness.Wait(), 0) << harness.Errors();
    const std::string& output = harness.Output();
    const std::string missions = (folder.data.Path() / "missions").string();
    for (const char* name : {"handover_missing", "handover_empty"}) {
        EXPECT_THAT(output, HasSubstr("run_next_mission: mission_folder \"" + std::string(name) +
                                      "\" names no mission: there is no " + missions + "/" + name +
                                      "/script.py; expected a folder of " + missions))
            << name;
    }
    for (const char* name : {"../trial", ""})
        EXPECT_THAT(output, HasSubstr("run_next_mission: mission_folder \"" + std::string(name) +
                                      "\" is no folder name of " + missions))
            << name;
    EXPECT_THAT(output, HasSubstr("relay: mission_tick 3\n")) << "the mission went on";
}

TEST(MissionHandoverTest, a_next_mission_that_cannot_load_ends_the_run_with_its_reason)
{
    MissionFolder folder(RelayMission("        zmx.run_next_mission('handover_broken')\n"));
    folder.data.Write("missions/handover_broken/script.py", "raise ValueError('the relay is down')\n");
    HarnessProcess harness({"--data", folder.data.Path().string(), "--mission", "trial", "--fast", "--ticks", "200"});
    EXPECT_EQ(harness.Wait(), 1);
    EXPECT_THAT(harness.Errors(), HasSubstr("mission \"handover_broken\" could not start: "));
    EXPECT_THAT(harness.Errors(), HasSubstr("ValueError: the relay is down"));
}

}  // namespace
}  // namespace harnesstest
