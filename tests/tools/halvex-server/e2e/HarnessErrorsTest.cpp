// halvex-server as a new user meets it: a data folder broken one value at a
// time, a mission that cannot load, a port that cannot be opened. Each ends
// the run with status 1 and one line naming the file, the key or the record,
// and the problem; only a bad command line ends with status 2.

#include "engine/base/QelNetworkMessage.h"
#include "engine/net/QelEnetNetworkFactoryBase.h"
#include "engine/net/QelNetworkClient.h"
#include "tests/tools/halvex-server/HarnessData.h"
#include "tests/tools/halvex-server/HarnessProcess.h"

#include <gmock/gmock.h>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>

#include <thread>

namespace harnesstest {
namespace {

using ::testing::HasSubstr;
using ::testing::Not;

// Runs the trial mission of the folder briefly; the port is given, so any
// refusal of "serverNetworkPort" comes from checking the file itself.
HarnessProcess RunTrial(const MissionFolder& folder)
{
    return HarnessProcess({"--data", folder.data.Path().string(), "--mission", "trial", "--port", "0", "--fast",
                           "--ticks", "40"});
}

void ExpectRefusedWithLine(HarnessProcess& harness, const std::string& line, const std::string& what)
{
    EXPECT_EQ(harness.Wait(), 1) << what << "\n" << harness.Errors();
    EXPECT_THAT(harness.Errors(), HasSubstr("\n" + line + "\n")) << what;
    EXPECT_THAT(harness.Errors(), Not(HasSubstr("usage:"))) << what;
    EXPECT_THAT(harness.Output(), Not(HasSubstr("listening"))) << what;
}

// One line per broken document: the file, the text replaced and its
// replacement ("" as `from` replaces the whole file), and the line expected.
// "<path>" stands for the path of the file.
TEST(HarnessErrorsTest, each_broken_data_file_stops_the_run_with_one_line_naming_file_key_and_value)
{
    struct Case {
        const char* file;
        std::string from;
        std::string to;
        std::string line;
    };
    const char* const prefs = "preferences.yaml";
    const char* const ships = "shipData.yaml";
    const std::string tern = "<path>: record 4 (\"tern_frigate\"): ";
    const std::string unknown = "<path>: record 0 (\"unknown\"): ";
    const Case cases[] = {
        {prefs, "serverNetworkPort: 3151", "serverNetworkPort: NaN",
         "<path>: \"serverNetworkPort\" is \"NaN\" (text); expected a whole number from 1 to 65535."},
        {prefs, "serverNetworkPort: 3151", "serverNetworkPort: 65536",
         "<path>: \"serverNetworkPort\" is 65536; expected a whole number from 1 to 65535."},
        {prefs, "scriptTickDelay: 30", "scriptTickDelay: true",
         "<path>: \"scriptTickDelay\" is true; expected a whole number from 0 to 10000000."},
        {prefs, "server-network-mess-per-frame: 100", "server-network-mess-per-frame: .nan",
         "<path>: \"server-network-mess-per-frame\" is \".nan\" (text); expected a whole number from 1 to 100000."},
        {prefs, "closest_scan_delay: 3", "closest_scan_delay: {}",
         "<path>: \"closest_scan_delay\" is an empty map; expected a number from 0 to 3600."},
        {prefs, "gui-color-main: \"#35c0e8\"", "gui-color-main: {r: 53, g: 192, b: 232}",
         "<path>: \"gui-color-main\" is a map of 3 keys; expected a colour such as \"red\", \"#40c0ff\" or "
         "\"rgb(64, 192, 255)\"."},
        {prefs, "player-vision-base-distance: 10000", "player-vision-base-distance: -1e38",
         "<path>: \"player-vision-base-distance\" is -1e+38; expected a number from 0 to 1000000."},
        {prefs, "farthest_scan_delay: 12", "farthest_scan_delay: 1e309",
         "<path>: \"farthest_scan_delay\" is \"1e309\" (text); expected a number from 0 to 3600."},
        {prefs, "scriptTickDelay: 30", "scriptTickDelay: 30\n  scriptTickDelay: 31",
         "<path>: Found a duplicate of the key 'scriptTickDelay' at line 27, column 3"},
        {prefs, "", "", "<path> is empty: it holds no keys and values."},
        {prefs, "", std::string("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16),
         "<path> is not a text document: it holds byte 0x89, which is not UTF-8, at line 1, column 1."},
        {prefs, "", "serverNetworkPort 3151 and the rest went missing",
         "<path> holds \"serverNetworkPort 3151 and the rest went...\" (text) where a map of keys and values "
         "belongs (is it the right file?)."},
        {ships, "movespeed: 5\n", "movespeed: \"\"\n",
         tern + "\"movespeed\" is \"\" (text); expected a number from 0 to 1000."},
        {ships, "exclusionradius: 150", "exclusionradius: null",
         tern + "\"exclusionradius\" is null; expected a number from 0 to 100000."},
        {ships, "shields: [120, 90]", "shields: 'x'", tern + "\"shields\" is \"x\" (text); expected a list."},
        {ships, "radarscale: 1.0", "radarscale: NaN",
         unknown + "\"radarscale\" is \"NaN\" (text); expected a number from 0 to 100."},
        {ships, "meshscale: 1.0", "meshscale: 1e999",
         unknown + "\"meshscale\" is \"1e999\" (text); expected a number from 0.001 to 1000."},
        {ships, "speed_coeff: 1.0", "speed_coeff: 1e38",
         tern + "\"speed_coeff\" is 1e+38; expected a number from 0 to 1000."},
        {ships, "hullpoints: 400", "hullpoints: -1", tern + "\"hullpoints\" is -1; expected a number from 0 to 1000000."},
        {ships, "hullpoints: 400", "hullpoints: 400\n      hullpoints: 500",
         "<path>: Found a duplicate of the key 'hullpoints' at line 118, column 7"},
    };
    for (const Case& c : cases) {
        MissionFolder folder(kQuietMission);
        if (c.from.empty())
            folder.data.Write(c.file, c.to);
        else
            ASSERT_TRUE(folder.Replace(c.file, c.from, c.to)) << c.from;
        std::string line = c.line;
        line.replace(line.find("<path>"), 6, folder.data / c.file);
        HarnessProcess harness = RunTrial(folder);
        ExpectRefusedWithLine(harness, line, c.to);
    }
}

// One line per mission that cannot load: its script, and the start of the
// line expected after "mission "trial" could not start: ".
TEST(HarnessErrorsTest, a_mission_that_cannot_load_ends_the_run_naming_its_file)
{
    struct Case {
        const char* what;
        std::string script;  // "" leaves script.py out; "/" makes it a folder
        std::string line;
    };
    const Case cases[] = {
        {"no script", "", "<script> is missing: a mission folder needs its script.py; nothing started."},
        {"a folder", "/", "<script> is a folder, not the mission's script; nothing started."},
        {"a NUL byte", std::string("import zmx\n\0\n", 13),
         "<script> holds a NUL byte at line 2, column 1: a mission script is text; nothing started."},
        {"not UTF-8", "x = '\xFF'\n",
         "<script>, line 1: SyntaxError: (unicode error) 'utf-8' codec can't decode byte 0xff in position 0: "
         "invalid start byte"},
        {"handler not a function", "halvex_event_handler = 5\n",
         "<script>: halvex_event_handler is a value of type int, not a function."},
        {"no handler", "import zmx\n\ndef halvex_event_hander(sim, event):\n    pass\n",
         "<script>: defines no halvex_event_handler(sim, event); the game hands every event to it; nothing "
         "started."},
        {"async handler", "async def halvex_event_handler(sim, event):\n    pass\n",
         "<script>, line 1: halvex_event_handler is an async function; the game calls it as a plain function, so "
         "its body would never run; nothing started."},
    };
    for (const Case& c : cases) {
        MissionFolder folder(kQuietMission);
        const std::filesystem::path script = folder.data.Path() / "missions/trial/script.py";
        std::filesystem::remove(script);
        if (c.script == "/")
            std::filesystem::create_directory(script);
        else if (!c.script.empty())
            folder.data.Write("missions/trial/script.py", c.script);
        std::string line = c.line;
        line.replace(line.find("<script>"), 8, script.string());
        HarnessProcess harness = RunTrial(folder);
        ExpectRefusedWithLine(harness, "mission \"trial\" could not start: " + line, c.what);
    }
}

TEST(HarnessErrorsTest, a_port_in_use_is_named_and_ends_the_run)
{
    const int taken = socket(AF_INET, SOCK_DGRAM, 0);
    ASSERT_GE(taken, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_ANY);
    ASSERT_EQ(bind(taken, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    socklen_t length = sizeof address;
    ASSERT_EQ(getsockname(taken, reinterpret_cast<sockaddr*>(&address), &length), 0);
    const std::string port = std::to_string(ntohs(address.sin_port));

    MissionFolder folder(kQuietMission);
    HarnessProcess harness({"--data", folder.data.Path().string(), "--mission", "trial", "--port", port});
    ExpectRefusedWithLine(harness,
                          "could not host: UDP port " + port +
                              " could not be opened: Address already in use (choose another port with --port, 0 "
                              "for any free one)",
                          "port " + port);
    close(taken);
}

// Messages the server refused are reported once when they first come, and
// counted; the counts are written to the log when the run ends.
TEST(HarnessErrorsTest, the_counts_of_refused_messages_are_written_at_exit)
{
    MissionFolder folder(kQuietMission);
    HarnessProcess harness({"--data", folder.data.Path().string(), "--mission", "trial", "--port", "0"});
    const std::optional<std::string> listening = harness.WaitForLine("listening on port ");
    ASSERT_TRUE(listening) << harness.Errors();
    const auto port = static_cast<uint16_t>(std::stoi(listening->substr(listening->rfind(' ') + 1)));

    QelEnetNetworkFactoryBase network;
    QelNetworkClient* console = network.GetClient("probe", port);
    ASSERT_TRUE(console->Connect("127.0.0.1"));
    QelNetworkMessage incoming;
    const auto serviceConsole = [&] {
        while (console->Receive(incoming)) {
        }
    };
    const auto deadline = std::chrono::steady_clock::now() + HarnessProcess::kPatience;
    while (!console->IsConnected() && std::chrono::steady_clock::now() < deadline) {
        serviceConsole();
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    ASSERT_TRUE(console->IsConnected());

    QelNetworkMessage shortOne;
    shortOne.WriteInt16(7);
    QelNetworkMessage unknownKey;
    unknownKey.WriteInt64(0x0123456789ABCDEFll);
    for (int i = 0; i < 3; ++i) {
        ASSERT_TRUE(console->Send(shortOne));
        ASSERT_TRUE(console->Send(unknownKey));
    }
    // The report of the first of each kind means the server has seen them;
    // the rest came before in the same reliable stream.
    ASSERT_TRUE(harness.WaitForErrorText("no handler for its key", serviceConsole)) << harness.Errors();
    harness.Signal(SIGTERM);
    EXPECT_EQ(harness.Wait(), 0) << harness.Errors();
    EXPECT_THAT(harness.Errors(),
                HasSubstr("\nserver network: messages refused this run: 3 too short for a key, 3 with a key no "
                          "handler takes\n"));
}

}  // namespace
}  // namespace harnesstest
