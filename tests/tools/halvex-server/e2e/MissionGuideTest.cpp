// The mission author's guide (docs/missions.md) cannot drift from the game:
// its example mission, taken from the guide's own code blocks, runs in
// halvex-server to its end without a word of warning, every step's code is
// part of the whole, and the functions, members, behaviours, widgets, console
// words and event tags the guide names are the game's.

#include "game/behaviours/SpaceObjectAI.h"
#include "game/net/ConsoleCatalogue.h"
#include "game/ui/KeyNames.h"
#include "game/world/BehaviourHookMap.h"
#include "helper/TinyYaml.h"
#include "tests/tools/halvex-server/HarnessData.h"
#include "tests/tools/halvex-server/HarnessProcess.h"
#include "tests/tools/halvex-server/MissionGuide.h"

#include <gmock/gmock.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <regex>
#include <set>
#include <sstream>

namespace harnesstest {
namespace {

using ::testing::HasSubstr;
using ::testing::Not;

std::set<std::string> Words(const std::string& text)
{
    std::istringstream words(text);
    return {std::istream_iterator<std::string>(words), std::istream_iterator<std::string>()};
}

TEST(MissionGuideTest, the_guides_mission_runs_in_the_harness_to_its_end_without_a_warning)
{
    const Guide guide;
    const CodeBlock* whole = guide.BlockUnder("The whole mission", "python");
    const CodeBlock* description = guide.BlockUnder("Step 1: the description", "yaml");
    ASSERT_NE(whole, nullptr);
    ASSERT_NE(description, nullptr);
    int steps = 0;
    for (const CodeBlock& block : guide.blocks) {
        if (block.language != "python" || block.heading.rfind("Step ", 0) != 0)
            continue;
        ++steps;
        EXPECT_THAT(whole->text, HasSubstr(block.text)) << block.heading << " is not what the whole mission holds";
    }
    EXPECT_GE(steps, 5);

    TINY_YAML::NodeMap keys;
    std::istringstream yaml(description->text);
    ASSERT_TRUE(TINY_YAML::ParseStream(keys, yaml));
    for (const char* key : {"Category", "Visible Mission Name", "Description", "Keywords"})
        EXPECT_NE(keys.Find(key), nullptr) << key;

    // Hosted as the guide says, with its folder made where the guide says;
    // every other mission its commands name is one the game ships.
    EXPECT_FALSE(std::filesystem::exists(harnesstest::GameData() + "/missions/picket_duty")) << "the guide's example is shipped";
    std::vector<std::string> options;
    for (const std::vector<std::string>& command : guide.CommandOptions("build/tools/halvex-server/halvex-server")) {
        const auto mission = std::find(command.begin(), command.end(), "--mission");
        ASSERT_NE(mission, command.end());
        ASSERT_NE(mission + 1, command.end());
        if (mission[1] == "picket_duty")
            options = command;
        else
            EXPECT_TRUE(std::filesystem::is_regular_file(harnesstest::GameData() + "/missions/" + mission[1] + "/script.py"))
                << "the guide hosts " << mission[1] << ", which the game does not ship";
    }
    ASSERT_FALSE(options.empty()) << "the guide shows no command that hosts picket_duty";
    MissionFolder folder(kQuietMission);
    folder.data.Write("missions/picket_duty/script.py", whole->text);
    folder.data.Write("missions/picket_duty/description.yaml", description->text);
    options.insert(options.begin(), {"--data", folder.data.Path().string()});
    HarnessProcess harness(options);
    ASSERT_EQ(harness.Wait(), 0) << harness.Errors() << harness.Output();
    const std::string& output = harness.Output();
    EXPECT_THAT(output, HasSubstr("picket_duty: the Tern holds the picket against two raiders\n"));
    EXPECT_THAT(output, HasSubstr("picket_duty: the Tern comes under fire from Skarn "));
    EXPECT_THAT(output, HasSubstr("picket_duty: relief arrives; the mission is over\n"));
    EXPECT_THAT(output, Not(HasSubstr("; expected"))) << "a call of the guide's mission did less than it meant";
}

TEST(MissionGuideTest, the_functions_and_members_the_guide_names_are_the_modules)
{
    const Guide guide;
    MissionFolder folder("import zmx\n"
                         "print('zmx:', *dir(zmx))\n"
                         "for kind in ('simulation', 'space_object', 'event', 'object_data_set'):\n"
                         "    print(kind + ':', *dir(getattr(zmx, kind)))\n"
                         "def halvex_event_handler(sim, event):\n"
                         "    pass\n");
    HarnessProcess harness({"--data", folder.data.Path().string(), "--mission", "trial", "--fast", "--ticks", "1"});
    ASSERT_EQ(harness.Wait(), 0) << harness.Errors();
    std::map<std::string, std::set<std::string>> members;
    std::istringstream lines(harness.Output());
    for (std::string line; std::getline(lines, line);) {
        const size_t colon = line.find(": ");
        if (colon != std::string::npos)
            members[line.substr(0, colon)] = Words(line.substr(colon + 2));
    }
    const std::pair<const char*, const char*> prefixes[] = {
        {"zmx.", "zmx"}, {"sim.", "simulation"}, {"event.", "event"}, {"data_set.", "object_data_set"}};
    for (const auto& [prefix, kind] : prefixes) {
        ASSERT_FALSE(members[kind].empty()) << kind;
        for (const std::string& name : guide.NamesAfter(prefix))
            EXPECT_EQ(members[kind].count(name), 1u) << prefix << name << " is named by the guide";
    }
    for (const std::string& field : guide.Names("Attribute"))
        EXPECT_EQ(members["event"].count(field), 1u) << "event." << field;
}

TEST(MissionGuideTest, the_behaviours_widgets_and_console_words_of_the_guide_are_the_games)
{
    const Guide guide;
    RegisterBehaviourHooks();
    std::vector<std::string> behaviours = guide.Names("Behaviour");
    std::sort(behaviours.begin(), behaviours.end());
    EXPECT_EQ(behaviours, AIHookMap().Names());

    std::vector<std::string> widgets;
    for (const ConsoleWidgetName& widget : ConsoleWidgetNames())
        widgets.push_back(widget.name);
    EXPECT_EQ(guide.Names("Widget"), widgets);

    std::vector<std::string> words;
    for (const ConsoleNameWord& word : ConsoleNameWords())
        words.push_back(word.word);
    EXPECT_EQ(guide.Names("Word"), words);

    // Keys by their names in the hot-key file, each shared by widgets.
    ASSERT_FALSE(guide.tables.at("Hot key").empty());
    for (const TableRow& row : guide.tables.at("Hot key")) {
        ASSERT_EQ(row.size(), 2u);
        for (const std::string& key : Guide::Quoted(row[0]))
            EXPECT_NE(keyTagToCode(key), 0) << key;
        const std::vector<std::string> sharing = Guide::Quoted(row[1]);
        EXPECT_GE(sharing.size(), 2u) << row[0];
        for (const std::string& widget : sharing)
            EXPECT_TRUE(IsConsoleWidgetName(widget)) << widget << " of " << row[0];
    }
}

// Whether the game's code holds the text in quotes whole, or as a quoted
// start and a quoted end that it joins ("interactive" and "_collision_start").
bool QuotedIn(const std::string& sources, const std::string& text)
{
    if (sources.find("\"" + text + "\"") != std::string::npos)
        return true;
    for (size_t cut = text.find('_'); cut != std::string::npos; cut = text.find('_', cut + 1)) {
        if (sources.find("\"" + text.substr(0, cut) + "\"") != std::string::npos &&
            sources.find("\"" + text.substr(cut) + "\"") != std::string::npos)
            return true;
    }
    return false;
}

// Each event tag of the guide's table is a text the game's code raises.
TEST(MissionGuideTest, every_event_tag_of_the_guide_is_raised_by_the_game)
{
    const Guide guide;
    std::string sources;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(std::string(QEL_SOURCE_DIR) + "/game")) {
        if (entry.path().extension() != ".cpp" && entry.path().extension() != ".h")
            continue;
        std::ifstream file(entry.path());
        std::ostringstream text;
        text << file.rdbuf();
        sources += text.str();
    }
    const std::vector<std::string> tags = guide.Names("Tag");
    EXPECT_GE(tags.size(), 39u);
    for (const std::string& tag : tags)
        EXPECT_TRUE(QuotedIn(sources, tag)) << "event tag " << tag;
}

// As the guide says of pause_sim in halvex-server: the run goes on, paused,
// to its --ticks, and the mission's ticks carry "sim_paused".
TEST(MissionGuideTest, a_mission_paused_in_the_harness_ticks_paused_until_the_run_ends)
{
    MissionFolder folder("import zmx\n"
                         "ticks = 0\n"
                         "def halvex_event_handler(sim, event):\n"
                         "    global ticks\n"
                         "    if event.tag != 'mission_tick':\n"
                         "        return\n"
                         "    ticks += 1\n"
                         "    print('tick %d %s' % (ticks, event.sub_tag))\n"
                         "    if ticks == 1:\n"
                         "        zmx.resume_sim()\n"
                         "    elif ticks == 2:\n"
                         "        zmx.pause_sim()\n");
    HarnessProcess harness({"--data", folder.data.Path().string(), "--mission", "trial", "--fast", "--ticks", "200"});
    ASSERT_EQ(harness.Wait(), 0) << harness.Errors();
    const std::string& output = harness.Output();
    EXPECT_THAT(output, HasSubstr("tick 2 sim_running\n"));
    EXPECT_THAT(output, HasSubstr("tick 3 sim_paused\n"));
    EXPECT_THAT(output, HasSubstr("tick 6 sim_paused\n")) << "the paused run ended before its ticks";
}

}  // namespace
}  // namespace harnesstest
