// A mission written from the help text works: the behaviour names the help
// lists are the ones the world knows, and a call that makes nothing, or less
// than the mission surely meant, keeps its result and says so in one line of
// the mission's output.

#include "ScriptTestSupport.h"

#include "game/behaviours/SpaceObjectAI.h"
#include "game/world/BehaviourHookMap.h"
#include "game/world/SpaceObject.h"

#include <gmock/gmock.h>

namespace scripttest {
namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;

class ScriptWarningsTest : public WorldMissionTest {
protected:
    void SetUp() override
    {
        RegisterBehaviourHooks();
        WorldMissionTest::SetUp();
        py::gil_scoped_acquire gil;
        py::module_::import("script").attr("sim") = zmx::WorldForScripts();
        log.lines.clear();
    }

    // The lines the statements wrote to the mission's standard error.
    std::vector<std::string> WarningsOf(const std::string& statements)
    {
        log.lines.clear();
        RunScript(statements);
        std::vector<std::string> warnings;
        for (const LoggedLine& line : log.lines) {
            EXPECT_EQ(line.colour, MissionScript::kStderrColour) << line.text;
            warnings.push_back(line.text);
        }
        return warnings;
    }
};

// The names after "names to pass: " in the help, as a Python list expression.
constexpr const char* kHelpNames =
    "[n.strip() for n in doc.split('names to pass: ')[1].split('\\n')[0].split(',')]";

TEST_F(ScriptWarningsTest, the_behaviour_names_of_the_help_are_the_worlds_and_each_runs_without_a_word)
{
    for (const char* member : {"zmx.space_object.set_behavior.__doc__", "zmx.space_object.tick_type.__doc__"}) {
        RunScript(std::string("doc = ") + member);
        EXPECT_THAT(Eval("doc"), HasSubstr("current available behavior modules : nebula, npcship, asteroid, "
                                           "playership, station"))
            << member;
        EXPECT_EQ(Eval(kHelpNames), "['behav_asteroid', 'behav_drone', 'behav_mine', 'behav_missile', "
                                    "'behav_monster', 'behav_nebula', 'behav_npcship', 'behav_pickup', "
                                    "'behav_playership', 'behav_selection', 'behav_station']")
            << member;
    }

    // Every name as the help gives it makes an object that keeps it, with
    // the behaviour's hook where the name has one, and no warning.
    RunScript("doc = zmx.space_object.set_behavior.__doc__\n"
              "made = [sim.create_space_object(name, 'tern_frigate', 0) for name in " + std::string(kHelpNames) + "]");
    EXPECT_TRUE(log.lines.empty()) << log.Texts().front();
    const int count = std::stoi(Eval("len(made)"));
    for (int i = 0; i < count; ++i) {
        const uint64_t id = std::stoull(Eval("made[" + std::to_string(i) + "]"));
        const SpaceObject* made = world.GetSpaceObject(id);
        ASSERT_NE(made, nullptr) << i;
        EXPECT_TRUE(AIHookMap().Knows(made->tick_type)) << made->tick_type;
    }
    EXPECT_THAT(Eval("sim.create_space_object.__doc__"), HasSubstr("behav_npcship"));
}

// Help texts keep the words they have always carried; where those name a
// file by a name the game does not read (shipdata.json, not the mission's
// extraShipData.json, which it does), or call the static bit "bit 1", a
// line after them names the file the game reads, or "bit 0" as abits counts.
// No signature shows a default its call cannot take.
TEST_F(ScriptWarningsTest, every_help_that_names_an_old_file_or_bit_also_tells_the_games)
{
    RunScript("import inspect\n"
              "docs = {}\n"
              "for name, value in vars(zmx).items():\n"
              "    docs['zmx.' + name] = inspect.getdoc(value) or ''\n"
              "    if inspect.isclass(value):\n"
              "        for member, attribute in vars(value).items():\n"
              "            docs['zmx.%s.%s' % (name, member)] = inspect.getdoc(attribute) or ''\n"
              "import re\n"
              "read = {'shipdata.json': 'data/shipData.yaml', 'preferences.json': 'data/preferences.yaml'}\n"
              "def names(doc, old):\n"
              "    return re.search(r'(?<![a-z])' + re.escape(old), doc.lower()) is not None\n"
              "naming = sorted(n for n, doc in docs.items() if any(names(doc, old) for old in read))\n"
              "untold = sorted(n for n, doc in docs.items() for old, new in read.items()\n"
              "                if names(doc, old) and new not in doc)\n"
              "bit_one = sorted(n for n, doc in docs.items() if 'bit 1' in doc and 'static' in doc)\n"
              "bit_untold = [n for n in bit_one if 'bit 0' not in docs[n]]\n"
              "index_default = [line for line in docs['zmx.object_data_set.set'].splitlines()\n"
              "                 if 'indexStr: str =' in line]\n");
    EXPECT_EQ(Eval("len(naming) >= 6"), "True") << Eval("naming");
    EXPECT_EQ(Eval("untold"), "[]");
    EXPECT_EQ(Eval("bit_one"), "['zmx.simulation.create_space_object']");
    EXPECT_EQ(Eval("bit_untold"), "[]");
    EXPECT_EQ(Eval("index_default"), "[]");
}

TEST_F(ScriptWarningsTest, objects_of_names_the_world_does_not_know_are_made_and_the_mission_is_told)
{
    struct Case {
        const char* statement;
        std::vector<std::string> warnings;
    };
    const std::string names = "behav_asteroid, behav_drone, behav_mine, behav_missile, behav_monster, behav_nebula, "
                              "behav_npcship, behav_pickup, behav_playership, behav_selection, behav_station";
    const Case cases[] = {
        {"sim.create_space_object('Behav_NPCShip', 'TERN_FRIGATE', 0)", {}},
        {"sim.create_space_object('behav_nebula', 'nebula', 1)", {}},
        {"sim.create_space_object('behav_npcship', 'invisible', 0)", {}},
        {"sim.create_space_object('npcship', 'tern_frigate', 0)",
         {"create_space_object: aiTag \"npcship\" is no behaviour name; expected one of " + names +
          "; the object does nothing of itself."}},
        {"sim.create_space_object('behav_npcship', 'tern', 0)",
         {"create_space_object: dataTag \"tern\" names no ship of shipData.yaml or the mission's "
          "extraShipData.json; expected a hull key such as \"tern_frigate\", or one of invisible, nebula, "
          "maelstrom, blackhole, planet; the object has no size and shows as an unknown contact."}},
        {"obj.set_behavior('BEHAV_NPCSHIP')",
         {"set_behavior: name \"BEHAV_NPCSHIP\" is no behaviour name; expected one of " + names +
          "; the object does nothing of itself."}},
        {"obj.set_behavior('behav_station')", {}},
    };
    for (const Case& c : cases) {
        const size_t before = world.Container()->Objects().size();
        EXPECT_EQ(WarningsOf(c.statement), c.warnings) << c.statement;
        const bool creates = std::string(c.statement).find("create_space_object") != std::string::npos;
        EXPECT_EQ(world.Container()->Objects().size(), before + (creates ? 1 : 0)) << c.statement;
    }
    EXPECT_EQ(object().tick_type, "behav_station");
}

TEST_F(ScriptWarningsTest, creating_before_a_game_has_begun_returns_0_and_says_what_comes_first)
{
    world.Clear();
    EXPECT_THAT(WarningsOf("made = sim.create_space_object('behav_npcship', 'tern_frigate', 0)"),
                ElementsAre("create_space_object: no game has begun, so nothing was made and 0 is returned; "
                            "expected zmx.create_new_sim() first."));
    EXPECT_EQ(Eval("made"), "0");
}

TEST_F(ScriptWarningsTest, widget_and_console_names_no_console_knows_are_sent_and_named)
{
    struct Case {
        const char* statement;
        std::vector<std::string> warnings;
    };
    const Case cases[] = {
        {"zmx.send_client_widget_list(0, 'helm', '2dview^^helm_simple^text_waterfall')", {}},
        {"zmx.send_client_widget_list(0, 'main screen', '3dview')", {}},
        {"zmx.send_client_widget_list(0, 'Science', 'science_2d_view^radar^helm_simpel')",
         {"send_client_widget_list: consoleType \"Science\" holds \"sci\" only in other letters; the game looks "
          "for it in lower case, so this console is not the science console.",
          "send_client_widget_list: widgetList names \"radar\", \"helm_simpel\", which no console can show; "
          "expected widget names as help(zmx.send_client_widget_list) lists them; such a box shows only the name."}},
        {"zmx.send_client_widget_list(0, '', 'ship_data')",
         {"send_client_widget_list: consoleType is empty; expected the console's name, such as \"helm\" or "
          "\"science\"; the console's boxes are kept under no name."}},
        {"zmx.send_client_widget_rects(0, 'radar', 0, 0, 50, 50, 0, 0, 100, 100)",
         {"send_client_widget_rects: widget name names \"radar\", which no console can show; expected widget "
          "names as help(zmx.send_client_widget_list) lists them; such a box shows only the name."}},
        {"zmx.query_client_widget_state(0, 'text_waterfal', 0)",
         {"query_client_widget_state: widgetName names \"text_waterfal\", which no console can show; expected "
          "widget names as help(zmx.send_client_widget_list) lists them; such a box shows only the name."}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(WarningsOf(c.statement), c.warnings) << c.statement;
    EXPECT_THAT(Eval("zmx.send_client_widget_list.__doc__"), HasSubstr("text_waterfall"));
}

}  // namespace
}  // namespace scripttest
