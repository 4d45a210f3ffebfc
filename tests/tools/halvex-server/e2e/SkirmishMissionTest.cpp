// The skirmish mission plays out by itself in halvex-server: every combatant
// takes an enemy of another side, ships, the station and the monster all
// strike, and ships die, each once.

#include "tests/tools/halvex-server/HarnessProcess.h"

#include <gmock/gmock.h>

#include <map>
#include <regex>
#include <sstream>

namespace harnesstest {
namespace {

using ::testing::HasSubstr;

TEST(SkirmishMissionTest, the_skirmish_fights_itself_out_with_no_console)
{
    HarnessProcess harness({"--mission", "skirmish", "--port", "0", "--fast", "--ticks", "3000"});
    ASSERT_EQ(harness.Wait(), 0) << harness.Errors();
    const std::string& output = harness.Output();
    EXPECT_THAT(output, HasSubstr("skirmish: 9 combatants take the field"));

    // In this mission every two different sides are at war, and only those.
    const std::regex engages(R"(skirmish: .+ \((\w+)\) engages .+ \((\w+)\))");
    const std::regex destroyed(R"(skirmish: (.+) destroyed by .+)");
    std::istringstream lines(output);
    std::map<std::string, int> deaths;
    int engagements = 0;
    for (std::string line; std::getline(lines, line);) {
        std::smatch found;
        if (std::regex_match(line, found, engages)) {
            ++engagements;
            EXPECT_NE(found[1], found[2]) << line;
        } else if (std::regex_match(line, found, destroyed)) {
            ++deaths[found[1]];
        }
    }
    EXPECT_GE(engagements, 9);
    EXPECT_FALSE(deaths.empty());
    for (const auto& [name, times] : deaths)
        EXPECT_EQ(times, 1) << name;
    for (const char* shooter : {"Corrin Station strikes", "Void Serpent strikes", "Skarn Talon strikes",
                                "Meridian Warden strikes"})
        EXPECT_THAT(output, HasSubstr(shooter));
}

}  // namespace
}  // namespace harnesstest
