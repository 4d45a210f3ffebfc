// The world mechanics as a mission meets them in halvex-server: nav signs,
// tractor connections, shield facings, sides, client strings and a torpedo
// launch, each through its zmx class or member, the mission printing what it
// found one mission tick after another.

#include "tests/tools/halvex-server/HarnessData.h"
#include "tests/tools/halvex-server/HarnessProcess.h"

#include <gmock/gmock.h>

#include <fstream>
#include <sstream>

namespace harnesstest {
namespace {

std::string FixtureScript(const std::string& mission)
{
    std::ifstream file(std::string(QEL_TEST_FIXTURES) + "/missions/" + mission + "/script.py");
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
}

TEST(WorldMechanicsMissionTest, a_mission_reaches_every_world_mechanic_through_zmx)
{
    MissionFolder folder(FixtureScript("world_mechanics"));
    // Five mission ticks, 31 ticks apart.
    HarnessProcess harness(
        {"--data", folder.data.Path().string(), "--mission", "trial", "--fast", "--ticks", "160"});
    ASSERT_EQ(harness.Wait(), 0) << harness.Errors();
    const char* expected[] = {
        "check tow_made (True, True, 5.0)\n",
        "check nav_ids (1, 2, 3)\n",
        "check navpoint ('Gate', 1.0, 2)\n",
        "check navproxy ('Frigate', False)\n",
        "check distance_to_navpoint 500.0\n",
        "check shield_facings (0, 1)\n",
        "check side_value_refused True\n",
        "check client_string callsign=Kestrel\n",
        "check bad_tube_refused True\n",
        "check launch (True, 'Homing')\n",
        "check tow_arrived True\n",
        "check torpedo_in_world behav_missile\n",
        "check tow_follows_turn True\n",
        "check tow_dropped True\n",
        "check navpoint_deleted False\n",
        "check done True\n",
    };
    for (const char* line : expected)
        EXPECT_THAT(harness.Output(), ::testing::HasSubstr(line));
}

}  // namespace
}  // namespace harnesstest
