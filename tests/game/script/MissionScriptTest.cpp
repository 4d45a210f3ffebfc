#include "ScriptTestSupport.h"

#include "game/world/ServerStringMap.h"
#include "tests/support/ErrorText.h"

#include <gmock/gmock.h>

#include <sstream>

namespace scripttest {
namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;

TEST_F(MissionTest, printed_lines_reach_the_console_log_in_the_stdout_colour)
{
    host().Start("echo");
    host().HandleEvent(Event("print", "hello\nworld"));

    ASSERT_THAT(log.Texts(), ElementsAre("hello", "world"));
    for (const LoggedLine& line : log.lines)
        EXPECT_EQ(line.colour, MissionScript::kStdoutColour);
}

TEST_F(MissionTest, the_harness_log_writes_each_line_to_standard_output)
{
    StdoutScriptConsoleLog harnessLog;
    host().SetConsoleLog(&harnessLog);
    host().Start("echo");
    ::testing::internal::CaptureStdout();
    host().HandleEvent(Event("print", "from the mission"));
    EXPECT_EQ(::testing::internal::GetCapturedStdout(), "from the mission\n");
}

TEST_F(MissionTest, standard_error_follows_standard_output_in_orange)
{
    host().Start("echo");
    host().HandleEvent(Event("run", "print('a')\nimport sys\nsys.stderr.write('oops')"));

    ASSERT_EQ(log.lines.size(), 2u);
    EXPECT_EQ(log.lines[0].text, "a");
    EXPECT_EQ(log.lines[1].text, "oops");
    EXPECT_EQ(log.lines[1].colour, MissionScript::kStderrColour);
}

// The newline that ends a burst of output is the end of its last line, not
// an empty line after it; an empty line printed on purpose stays.
TEST_F(MissionTest, print_splits_at_every_newline_and_skips_empty_text)
{
    struct Case {
        std::string text;
        std::vector<std::string> lines;
    };
    const Case cases[] = {
        {"", {}},
        {"a", {"a"}},
        {"a\n", {"a"}},
        {"a\n\n", {"a", ""}},
        {"\n", {""}},
        {"\n\nb", {"", "", "b"}},
    };
    for (const Case& c : cases) {
        log.lines.clear();
        host().Print(c.text, MissionScript::kStdoutColour);
        EXPECT_EQ(log.Texts(), c.lines) << "text: " << c.text;
    }
}

TEST_F(MissionTest, every_event_field_reaches_the_handler)
{
    host().Start("echo");
    EventMessage event;
    event.client_id = 1ull << 63 | 7;
    event.origin_id = 1ull << 62 | 8;
    event.selected_id = 1ull << 62 | 9;
    event.parent_id = 1ull << 62 | 10;
    event.tag = "gui_message";
    event.sub_tag = "sub";
    event.value_tag = "value";
    event.extra_tag = "extra";
    event.extra_extra_tag = "extra extra";
    event.event_time = -5;
    event.sub_float = 0.25f;
    event.source_point = {1.0f, 2.0f, 3.0f};
    host().HandleEvent(event);

    const std::string e = "received[-1].";
    EXPECT_EQ(Eval(e + "client_id"), std::to_string(event.client_id));
    EXPECT_EQ(Eval(e + "origin_id"), std::to_string(event.origin_id));
    EXPECT_EQ(Eval(e + "selected_id"), std::to_string(event.selected_id));
    EXPECT_EQ(Eval(e + "parent_id"), std::to_string(event.parent_id));
    EXPECT_EQ(Eval("[" + e + "tag, " + e + "sub_tag, " + e + "value_tag, " + e + "extra_tag, " + e +
                   "extra_extra_tag]"),
              "['gui_message', 'sub', 'value', 'extra', 'extra extra']");
    EXPECT_EQ(Eval(e + "event_time"), "-5");
    EXPECT_EQ(Eval(e + "sub_float"), "0.25");
    EXPECT_EQ(Eval("(" + e + "source_point.x, " + e + "source_point.y, " + e + "source_point.z)"),
              "(1.0, 2.0, 3.0)");
}

TEST_F(MissionTest, event_fields_are_read_only_and_the_event_is_the_scripts_own_copy)
{
    host().Start("echo");
    EventMessage event = Event("first");
    host().HandleEvent(event);
    event.tag = "changed after delivery";

    EXPECT_EQ(Eval("received[-1].tag"), "first");
    EXPECT_THAT(RunError("received[-1].tag = 'x'"), HasSubstr("AttributeError"));
    EXPECT_THAT(RunError("zmx.event()"), HasSubstr("TypeError"));
}

TEST_F(MissionTest, client_texts_that_are_not_utf8_are_read_with_replacement_characters)
{
    host().Start("echo");
    EventMessage event = Event("client_change");
    event.sub_tag = "bad \xff\xfe bytes";
    host().HandleEvent(event);

    EXPECT_EQ(Eval("received[-1].sub_tag == 'bad \\ufffd\\ufffd bytes'"), "True");
}

TEST_F(MissionTest, an_uncaught_error_ends_the_call_with_the_whole_traceback)
{
    host().Start("echo");
    const std::string text = RunError("def inner():\n    raise KeyError('the cause')\ninner()");

    EXPECT_THAT(text, HasSubstr("Traceback (most recent call last)"));
    EXPECT_THAT(text, HasSubstr("in halvex_event_handler"));
    EXPECT_THAT(text, HasSubstr("in inner"));
    EXPECT_THAT(text, HasSubstr("KeyError: 'the cause'"));
    // The lock went back: the mission still runs.
    host().HandleEvent(Event("print", "still here"));
    EXPECT_EQ(log.Texts().back(), "still here");
}

// The lines a mission prints just before it fails are often what explains
// the failure: they reach the log before the error leaves, in the order they
// were written, at load time as in an event.
TEST_F(MissionTest, what_the_mission_printed_before_an_uncaught_error_reaches_the_log)
{
    host().Start("echo");
    const std::string text =
        RunError("print('reactor at 97 percent')\nimport sys\nsys.stderr.write('coolant low\\n')\nraise KeyError('x')");
    EXPECT_THAT(text, HasSubstr("KeyError"));
    EXPECT_THAT(log.Texts(), ElementsAre("reactor at 97 percent", "coolant low"));
    EXPECT_EQ(log.lines[1].colour, MissionScript::kStderrColour);

    host().Stop();
    log.lines.clear();
    data.Write("missions/last_words/script.py", "print('loading the fleet')\nraise RuntimeError('no fleet')\n");
    EXPECT_THROW(host().Start("last_words"), ScriptError);
    EXPECT_THAT(log.Texts(), ElementsAre("loading the fleet"));
}

TEST_F(MissionTest, a_mission_without_the_handler_is_refused_at_load_naming_its_script)
{
    const std::string error = qeltest::ErrorText([] { host().Start("no_handler"); });
    EXPECT_EQ(error, data / "missions/no_handler/script.py" +
                         ": defines no halvex_event_handler(sim, event); the game hands every event to it; nothing "
                         "started.");
    EXPECT_FALSE(host().ScriptsLoaded());
}

TEST_F(MissionTest, a_failed_start_leaves_nothing_running_and_a_later_start_works)
{
    try {
        host().Start("broken_import");
        FAIL() << "no error";
    } catch (const ScriptError& error) {
        EXPECT_THAT(error.what(), HasSubstr("module_that_does_not_exist"));
    }
    EXPECT_FALSE(host().ScriptsLoaded());

    host().Start("echo");
    host().HandleEvent(Event("print", "ok"));
    EXPECT_EQ(log.Texts().front(), "ok");
}

// One line per mission that cannot be loaded: what its folder holds, and the
// first line of the error, which names the file (and the line when Python
// knows it). "<script>" stands for the path of the mission's script.py.
TEST_F(MissionTest, a_mission_that_cannot_load_is_named_by_file_and_line_and_leaves_nothing_running)
{
    struct Case {
        const char* name;
        std::string script;  // "" leaves script.py out
        std::string firstLine;
        bool folder = false;  // script.py is a folder
    };
    const std::string deep = "x = " + std::string(35000, '(') + std::string(35000, ')') + "\n";
    std::string longSum = "x = 1";
    for (int i = 0; i < 35000; ++i)
        longSum += "+1";
    const Case cases[] = {
        {"no_script", "", "<script> is missing: a mission folder needs its script.py; nothing started."},
        {"script_folder", "", "<script> is a folder, not the mission's script; nothing started.", true},
        {"nul_byte", std::string("import zmx\nname = \"a\0b\"\n", 24),
         "<script> holds a NUL byte at line 2, column 10: a mission script is text; nothing started."},
        {"latin1", "import zmx\nname = \"Br\xFC" "cke\"\n",
         "<script>, line 2: SyntaxError: (unicode error) 'utf-8' codec can't decode byte 0xfc in position 2: "
         "invalid start byte"},
        {"deep_nesting", deep, "<script>, line 1: SyntaxError: too many nested parentheses"},
        {"long_sum", longSum + "\n", "<script>: RecursionError: maximum recursion depth exceeded during compilation"},
        {"handler_not_a_function", "halvex_event_handler = 5\n",
         "<script>: halvex_event_handler is a value of type int, not a function."},
        {"async_handler", "import zmx\n\nasync def halvex_event_handler(sim, event):\n    pass\n",
         "<script>, line 3: halvex_event_handler is an async function; the game calls it as a plain function, so "
         "its body would never run; nothing started."},
        {"generator_handler", "def halvex_event_handler(sim, event):\n    yield event\n",
         "<script>, line 1: halvex_event_handler is a generator (it yields); the game calls it as a plain function, "
         "so its body would never run; nothing started."},
        {"async_generator_handler", "async def halvex_event_handler(sim, event):\n    yield event\n",
         "<script>, line 1: halvex_event_handler is an async generator; the game calls it as a plain function, so "
         "its body would never run; nothing started."},
        {"raises_in_a_helper", "import zmx\nimport mission_helper\n", "<folder>mission_helper.py, line 2: KeyError: 'x'"},
    };
    data.Write("missions/raises_in_a_helper/mission_helper.py", "table = {}\nvalue = table['x']\n");
    for (const Case& c : cases) {
        const std::string folder = data / (std::string("missions/") + c.name + "/");
        std::filesystem::create_directories(folder);
        if (c.folder)
            std::filesystem::create_directories(folder + "script.py");
        else if (!c.script.empty())
            data.Write(std::string("missions/") + c.name + "/script.py", c.script);
        std::string expected = c.firstLine;
        if (const size_t at = expected.find("<script>"); at != std::string::npos)
            expected.replace(at, 8, folder + "script.py");
        if (const size_t at = expected.find("<folder>"); at != std::string::npos)
            expected.replace(at, 8, folder);

        const std::string error = qeltest::ErrorText([&] { host().Start(c.name); });
        EXPECT_EQ(error.substr(0, error.find('\n')), expected) << c.name;
        EXPECT_FALSE(host().ScriptsLoaded()) << c.name;
        std::istringstream lines(error);
        for (std::string line; std::getline(lines, line);)  // no line quotes a 35 KB expression
            EXPECT_LT(line.size(), 400u) << c.name;
    }
    host().Start("echo");
    EXPECT_TRUE(host().ScriptsLoaded());
}

TEST_F(MissionTest, a_handler_swapped_at_run_time_for_one_that_cannot_run_is_named)
{
    struct Case {
        const char* swap;
        const char* message;
    };
    const Case cases[] = {
        {"halvex_event_handler = 5", "halvex_event_handler is a value of type int, not a function."},
        {"async def halvex_event_handler(sim, event): pass",
         "halvex_event_handler returned a coroutine instead of running; it must be a plain function."},
        {"def halvex_event_handler(sim, event): yield event",
         "halvex_event_handler returned a generator instead of running; it must be a plain function."},
    };
    const std::string script = data / "missions/echo/script.py";
    for (const Case& c : cases) {
        host().Start("echo");
        RunScript(std::string("global halvex_event_handler\n") + c.swap);
        EXPECT_EQ(qeltest::ErrorText([] { host().HandleEvent(Event("anything")); }), script + ": " + c.message);
        EXPECT_TRUE(host().ScriptsLoaded()) << "the mission stays loaded; the run loop decides";
        host().Stop();
    }
}

TEST_F(MissionTest, mission_names_that_leave_the_missions_folder_start_nothing)
{
    for (const char* name : {"", "..", "../echo", "/tmp", "echo/../echo", "a/b"}) {
        EXPECT_THROW(host().Start(name), ScriptError) << name;
        EXPECT_FALSE(host().ScriptsLoaded()) << name;
    }
}

TEST_F(MissionTest, start_stop_start_runs_a_fresh_interpreter_each_time)
{
    host().Start("echo");
    RunScript("import builtins\nbuiltins.left_over = 1");
    host().Stop();
    EXPECT_FALSE(host().ScriptsLoaded());

    host().Start("echo");
    EXPECT_EQ(Eval("hasattr(__builtins__, 'left_over') if isinstance(__builtins__, type(zmx)) else "
                   "'left_over' in __builtins__"),
              "False");
    EXPECT_EQ(Eval("len(received)"), "0");
    host().HandleEvent(Event("print", "second run"));
    EXPECT_EQ(log.Texts().front(), "second run");
}

TEST_F(MissionTest, start_sets_the_mission_folder_and_the_search_path)
{
    host().Start("echo");
    EXPECT_EQ(host().missionFolder, "missions/echo/");
    EXPECT_EQ(Eval("sys.dont_write_bytecode"), "True");
    const std::string root = data.Path().string();
    EXPECT_EQ(Eval("'" + root + "/missions/echo/' in sys.path"), "True");
    EXPECT_EQ(Eval("'" + root + "/missions/common/' in sys.path"), "True");
    EXPECT_EQ(Eval("'" + root + "/PyAddons/' in sys.path"), "True");
    EXPECT_EQ(Eval("'' in sys.path"), "False");
    EXPECT_FALSE(std::filesystem::exists(data.Path() / "missions/echo/__pycache__"));
}

TEST_F(MissionTest, start_clears_the_string_map_and_tells_the_clients_first)
{
    ServerStringMap::Instance().Set("left", "over");
    EXPECT_THROW(host().Start(".."), ScriptError);

    EXPECT_TRUE(ServerStringMap::Instance().Entries().empty());
    ASSERT_EQ(sink.messages.size(), 1u);
    EXPECT_EQ(sink.messages[0].code, MissionScript::kSignalStringMapCommand);
    EXPECT_THAT(sink.messages[0].texts, ElementsAre("clear", "stringmap"));
}

TEST_F(MissionTest, stop_without_a_mission_still_tells_the_clients)
{
    host().Stop();
    ASSERT_EQ(sink.messages.size(), 1u);
    EXPECT_EQ(sink.messages[0].code, MissionScript::kSignalMissionStopped);
    EXPECT_TRUE(sink.messages[0].texts.empty());
}

TEST_F(MissionTest, every_start_rewrites_the_documentation_file_with_the_module_help)
{
    data.Write("script_documentation.txt", "stale");
    host().Start("echo");

    const std::string doc = data.Read("script_documentation.txt");
    EXPECT_THAT(doc, HasSubstr("module zmx"));
    EXPECT_THAT(doc, HasSubstr("class space_object"));
    EXPECT_THAT(doc, HasSubstr("Set an int value, by name AND index string"));
    EXPECT_THAT(doc, HasSubstr("class SHPSYS"));
    EXPECT_THAT(doc, ::testing::Not(HasSubstr("stale")));
    // The help went to the file, not to the console log.
    host().HandleEvent(Event("print", "x"));
    EXPECT_THAT(log.Texts(), ElementsAre("x"));
}

TEST_F(MissionTest, events_raised_while_the_handler_runs_are_delivered_inside_it)
{
    host().Start("echo");
    {
        py::gil_scoped_acquire gil;
        py::module_::import("script").attr("raise_inner") =
            py::cpp_function([](const std::string& tag) { theMissionScript.HandleEvent(Event(tag)); });
    }
    RunScript("raise_inner('inner')\nprint('after inner')");

    EXPECT_EQ(Eval("[e.tag for e in received]"), "['run', 'inner']");
    EXPECT_EQ(log.Texts().front(), "after inner");
    // An error in the inner event ends the outer one too, and the lock is
    // given back once.
    EXPECT_THAT(RunError("raise_inner('raise')"), HasSubstr("ValueError"));
    host().HandleEvent(Event("print", "lock is free"));
    EXPECT_EQ(Eval("received[-1].tag"), "print");
}

TEST_F(MissionTest, nothing_is_delivered_while_no_mission_runs)
{
    host().HandleEvent(Event("print", "lost"));
    host().HandleDMX();
    EXPECT_TRUE(log.lines.empty());
}

TEST_F(MissionTest, the_queue_is_delivered_in_order_and_emptied)
{
    host().Start("echo");
    host().eventQueue.push_back(Event("first"));
    host().eventQueue.push_back(Event("second"));
    host().ProcessEventQueue();

    EXPECT_EQ(Eval("[e.tag for e in received]"), "['first', 'second']");
    EXPECT_TRUE(host().eventQueue.empty());
}

// Where the DMX module is found: the mission's own, the one shared by all
// missions, or the common folder's, in that order.
TEST_F(MissionTest, the_dmx_module_is_taken_from_the_nearest_folder)
{
    struct Case {
        const char* name;
        std::vector<std::string> dmxFiles;  // relative to the missions folder
        std::string expectedLine;           // printed by HandleDMX, "" = none
    };
    const Case cases[] = {
        {"own_first", {"echo/dmx.py", "dmx.py", "common/dmx.py"}, "echo"},
        {"shared_next", {"dmx.py", "common/dmx.py"}, "shared"},
        {"common_last", {"common/dmx.py"}, "common"},
        {"none", {}, ""},
    };
    for (const Case& c : cases) {
        for (const char* file : {"echo/dmx.py", "dmx.py", "common/dmx.py"})
            std::filesystem::remove(data.Path() / "missions" / file);
        for (const std::string& file : c.dmxFiles) {
            const std::string folder = file == "dmx.py" ? "shared" : file.substr(0, file.find('/'));
            data.Write("missions/" + file, "def HandleDMX(sim):\n    print('" + folder + "')\n");
        }
        log.lines.clear();
        host().Start("echo");
        host().HandleDMX();
        host().Stop();
        if (c.expectedLine.empty())
            EXPECT_TRUE(log.lines.empty()) << c.name;
        else
            EXPECT_THAT(log.Texts(), ElementsAre(c.expectedLine)) << c.name;
    }
}

}  // namespace
}  // namespace scripttest
