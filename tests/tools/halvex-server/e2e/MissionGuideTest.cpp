// The mission author's guide (docs/missions.md) cannot drift from the game:
// its example mission, taken from the guide's own code blocks, runs in
// halvex-server to its end without a word of warning, every step's code is
// part of the whole, and the functions, members, behaviours, widgets, console
// words and event tags the guide names are the game's.

#include "game/behaviours/SpaceObjectAI.h"
#include "game/net/ConsoleCatalogue.h"
#include "game/world/BehaviourHookMap.h"
#include "helper/TinyYaml.h"
#include "tests/tools/halvex-server/HarnessData.h"
#include "tests/tools/halvex-server/HarnessProcess.h"

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

const std::string kGuide = std::string(QEL_SOURCE_DIR) + "/docs/missions.md";

struct CodeBlock {
    std::string language;
    std::string heading;  // the heading the block stands under
    std::string text;
};

// The guide's text, its fenced code blocks and its tables (each table the
// first cell of its rows, header row left out), by the header's first cell.
struct Guide {
    std::string text;
    std::vector<CodeBlock> blocks;
    std::map<std::string, std::vector<std::string>> tables;

    Guide()
    {
        std::ifstream file(kGuide);
        std::ostringstream whole;
        whole << file.rdbuf();
        text = whole.str();
        std::istringstream lines(text);
        std::string heading;
        std::string tableHeader;
        CodeBlock* open = nullptr;
        for (std::string line; std::getline(lines, line);) {
            if (open) {
                if (line == "```")
                    open = nullptr;
                else
                    open->text += line + "\n";
                continue;
            }
            if (line.rfind("```", 0) == 0) {
                blocks.push_back({line.substr(3), heading, ""});
                open = &blocks.back();
            } else if (line.rfind("#", 0) == 0) {
                heading = line.substr(line.find(' ') + 1);
            } else if (line.rfind("|", 0) == 0) {
                ReadTableRow(line, tableHeader);
            } else {
                tableHeader.clear();
            }
        }
    }

    void ReadTableRow(const std::string& line, std::string& tableHeader)
    {
        const std::string firstCell = line.substr(2, line.find(" |", 2) - 2);
        if (tableHeader.empty()) {
            tableHeader = firstCell;
            tables[tableHeader];
        } else if (firstCell.rfind("---", 0) != 0) {
            tables[tableHeader].push_back(firstCell);
        }
    }

    const CodeBlock* BlockUnder(const std::string& heading, const std::string& language) const
    {
        for (const CodeBlock& block : blocks)
            if (block.heading == heading && block.language == language)
                return &block;
        return nullptr;
    }

    // The names in backquotes of a table's first column; a cell may hold two.
    std::vector<std::string> Names(const std::string& tableHeader) const
    {
        std::vector<std::string> names;
        static const std::regex quoted("`([^`]+)`");
        for (const std::string& cell : tables.at(tableHeader))
            for (std::sregex_iterator m(cell.begin(), cell.end(), quoted), end; m != end; ++m)
                names.push_back((*m)[1]);
        return names;
    }

    // Every name the guide writes after the prefix ("zmx." for instance).
    std::set<std::string> NamesAfter(const std::string& prefix) const
    {
        std::set<std::string> names;
        const std::regex after(std::regex_replace(prefix, std::regex("\\."), "\\.") + "([A-Za-z_]+)");
        for (std::sregex_iterator m(text.begin(), text.end(), after), end; m != end; ++m)
            names.insert((*m)[1]);
        return names;
    }
};

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

    MissionFolder folder(kQuietMission);
    folder.data.Write("missions/picket_duty/script.py", whole->text);
    folder.data.Write("missions/picket_duty/description.yaml", description->text);
    HarnessProcess harness(
        {"--data", folder.data.Path().string(), "--mission", "picket_duty", "--fast", "--ticks", "4000"});
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

}  // namespace
}  // namespace harnesstest
