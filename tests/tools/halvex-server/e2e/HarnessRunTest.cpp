// halvex-server as a whole program: it hosts the first mission and stops when
// told (with no count of refused messages when it refused none), and it
// refuses clearly, with a non-zero status, what it cannot run.

#include "tests/tools/halvex-server/HarnessData.h"
#include "tests/tools/halvex-server/HarnessProcess.h"
#include "tests/support/TempFolder.h"

#include <gmock/gmock.h>

#include <filesystem>

namespace harnesstest {
namespace {

using ::testing::HasSubstr;

TEST(HarnessRunTest, hosts_the_first_mission_for_the_ticks_asked_and_ends_cleanly)
{
    HarnessProcess harness({"--mission", "first_watch", "--port", "0", "--fast", "--ticks", "100"});
    EXPECT_EQ(harness.Wait(), 0) << harness.Errors();
    EXPECT_THAT(harness.Output(), ::testing::ContainsRegex("listening on port [1-9][0-9]*\n"));
    // The world is built on the first mission tick, 31 ticks in.
    EXPECT_THAT(harness.Output(), HasSubstr("first_watch: the Tern is on station"));
    // Nothing was refused, so no count of refused messages follows.
    EXPECT_THAT(harness.Errors(), ::testing::Not(HasSubstr("refused")));
}

TEST(HarnessRunTest, sigterm_and_sigint_end_a_run_without_limits_cleanly)
{
    for (int signalNumber : {SIGTERM, SIGINT}) {
        HarnessProcess harness({"--mission", "first_watch"});
        ASSERT_TRUE(harness.WaitForLine("listening on port")) << harness.Errors();
        harness.Signal(signalNumber);
        EXPECT_EQ(harness.Wait(), 0) << "signal " << signalNumber << ": " << harness.Errors();
    }
}

TEST(HarnessRunTest, a_mission_folder_given_as_a_path_is_hosted_from_its_own_data_folder)
{
    MissionFolder folder("import zmx\nprint('trial mission loaded')\n\ndef halvex_event_handler(sim, event):\n    pass\n");
    HarnessProcess harness({"--mission", folder.data / "missions/trial/", "--fast", "--ticks", "3"});
    EXPECT_EQ(harness.Wait(), 0) << harness.Errors();
    EXPECT_THAT(harness.Output(), HasSubstr("trial mission loaded\n"));
}

// The operator may keep a mission anywhere: it runs beside the data folder
// (the default one, or --data's), with the dmx.py its folder shares.
TEST(HarnessRunTest, a_mission_folder_outside_the_data_folder_is_hosted_from_its_path)
{
    qeltest::TempFolder elsewhere;
    elsewhere.Write("drills/night/script.py",
                    "import zmx\nprint('night drill loaded')\n\ndef halvex_event_handler(sim, event):\n    pass\n");
    elsewhere.Write("drills/dmx.py", "def HandleDMX(sim):\n    print('lights from beside the drill')\n");
    const std::string night = (elsewhere.Path() / "drills/night").string();
    const std::vector<std::string> runs[] = {
        {"--mission", night, "--fast", "--ticks", "40"},
        {"--mission", night + "/", "--data", GameData(), "--fast", "--ticks", "40"},
    };
    for (const std::vector<std::string>& options : runs) {
        HarnessProcess harness(options);
        EXPECT_EQ(harness.Wait(), 0) << harness.Errors();
        EXPECT_THAT(harness.Output(), HasSubstr("night drill loaded\n"));
        EXPECT_THAT(harness.Output(), HasSubstr("lights from beside the drill\n"));
    }
}

TEST(HarnessRunTest, a_mission_that_raises_ends_the_run_with_its_traceback)
{
    struct Case {
        const char* name;
        const char* script;
    };
    const Case cases[] = {
        {"on_import", "raise ValueError('the reactor is offline')\n"},
        {"in_its_handler", "def halvex_event_handler(sim, event):\n    raise ValueError('the reactor is offline')\n"},
    };
    for (const Case& c : cases) {
        MissionFolder folder(c.script);
        HarnessProcess harness({"--data", folder.data.Path().string(), "--mission", "trial", "--fast", "--ticks", "100"});
        EXPECT_EQ(harness.Wait(), 1) << c.name;
        EXPECT_THAT(harness.Errors(), HasSubstr("Traceback")) << c.name;
        EXPECT_THAT(harness.Errors(), HasSubstr("ValueError: the reactor is offline")) << c.name;
    }
}

TEST(HarnessRunTest, what_cannot_be_hosted_is_refused_with_a_clear_message)
{
    MissionFolder folder("");
    folder.data.Write("loose/script.py", "");
    struct Case {
        std::vector<std::string> options;
        const char* message;
    };
    const Case cases[] = {
        {{"--mission", "no_such_mission"}, "no mission \"no_such_mission\""},
        {{"--data", folder.data.Path().string(), "--mission", "first_watch"}, "no mission \"first_watch\""},
        {{"--mission", folder.data / "no_such_folder/"}, "is not a folder"},
        {{}, "no mission given"},
        {{"--mission", "first_watch", "--port", "70000"}, "option --port takes a number"},
        {{"--mission", "first_watch", "--ticks", "0"}, "option --ticks takes a number"},
        {{"--mission", "first_watch", "--seconds", "soon"}, "option --seconds takes a positive number"},
        {{"--mission", "first_watch", "--ticks"}, "option --ticks needs a value"},
        {{"--mission", "first_watch", "--window"}, "unknown option \"--window\""},
    };
    for (const Case& c : cases) {
        HarnessProcess harness(c.options);
        EXPECT_EQ(harness.Wait(), 2) << c.message;
        EXPECT_THAT(harness.Errors(), HasSubstr(c.message));
        EXPECT_THAT(harness.Errors(), HasSubstr("usage: halvex-server"));
        EXPECT_THAT(harness.Output(), ::testing::Not(HasSubstr("listening"))) << c.message;
    }
}

}  // namespace
}  // namespace harnesstest
