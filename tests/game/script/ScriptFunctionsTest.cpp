// The module functions of zmx for world control, space objects and consoles,
// and the simulation class, driven from a running mission.

#include "ScriptTestSupport.h"

#include "engine/base/QelClock.h"
#include "game/net/CorvaneServer.h"
#include "game/net/SignalMessage.h"
#include "game/world/ServerStringMap.h"

#include <gmock/gmock.h>

namespace scripttest {
namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;

constexpr uint64_t kClientA = (1ull << 63) | 5;
constexpr uint64_t kClientB = (1ull << 63) | 9;
constexpr uint64_t kClientWithoutRecord = (1ull << 63) | 77;

// The payload of a recorded "signal", read with its record's reader.
template <typename Signal>
Signal Decode(const RecordingMessageSink::Sent& sent)
{
    QelNetworkMessage message;
    message.WriteBytes(sent.bytes.data(), static_cast<int32_t>(sent.bytes.size()));
    message.readIndex = 8;
    uint16_t code = 0;
    Signal signal;
    EXPECT_TRUE(ReadSignalCode(message, code) && code == Signal::kCode && ReadSignal(message, signal))
        << "signal " << sent.code << " does not read as code " << Signal::kCode;
    return signal;
}

// What the server's own screen was asked to show.
struct RecordingScreen : ServerScreen {
    void ClearForNewWorld() override { ++newWorlds; }
    void ClearStoryDialogs() override { ++storyClears; }
    void PlayNextMusicTrack() override { ++tracksStarted; }
    void SetConsole(const std::string& name, const std::vector<std::string>& list) override
    {
        consoleName = name;
        widgets = list;
    }
    std::string ConsoleName() const override { return consoleName; }
    bool HyperWarpShown() const override { return hyperWarpShown; }
    void ShowHyperWarp(const std::string& key) override
    {
        hyperWarpShown = true;
        hullKey = key;
    }
    void HideHyperWarp() override { hyperWarpShown = false; }
    void ShowHoldMenu(uint64_t, uint64_t, uint64_t, const std::vector<std::string>& options) override
    {
        holdOptions = options;
    }
    std::string ClientString(const std::string& key) const override
    {
        auto found = strings.find(key);
        return found == strings.end() ? "" : found->second;
    }
    void SetClientString(const std::string& key, const std::string& value) override { strings[key] = value; }

    int newWorlds = 0;
    int storyClears = 0;
    int tracksStarted = 0;
    std::string consoleName;
    std::vector<std::string> widgets;
    bool hyperWarpShown = false;
    std::string hullKey;
    std::vector<std::string> holdOptions;
    std::map<std::string, std::string> strings;
};

// A running mission with two consoles on record at a server that does not
// host, and the server's own screen recorded.
class ScriptFunctionsTest : public WorldMissionTest {
protected:
    void SetUp() override
    {
        WorldMissionTest::SetUp();
        gServer = &server;
        server.HandleClientConnect(kClientA);
        server.HandleClientConnect(kClientB);
        for (std::vector<uint64_t>& list : server.newClientLists)
            list.clear();
        host().SetServerScreen(&screen);
        sink.messages.clear();
        py::gil_scoped_acquire gil;
        py::module_::import("script").attr("sim") = zmx::WorldForScripts();
    }
    void TearDown() override
    {
        host().SetServerScreen(nullptr);
        gServer = nullptr;
        WorldMissionTest::TearDown();
    }

    std::string Id(uint64_t id) const { return std::to_string(id); }

    CorvaneServer server{CorvaneServer::Settings{}};
    RecordingScreen screen;
};

TEST_F(ScriptFunctionsTest, functions_sit_between_the_classes_and_the_enums_in_table_order)
{
    RunScript("names = list(zmx.__dict__)");
    const std::string order = Eval(
        "[names.index(n) for n in ('simulation', 'get_screen_size', 'broad_test', 'distance_id', 'create_new_sim',"
        " 'get_client_ID_list', 'send_client_widget_list', 'app_milliseconds', 'get_game_version',"
        " 'push_to_standby_list_id', 'run_next_mission', 'get_shared_string', 'SHPSYS')]");
    RunScript("order = " + order);
    EXPECT_EQ(Eval("order == sorted(order)"), "True") << order;
}

TEST_F(ScriptFunctionsTest, arguments_that_do_not_convert_raise_type_error)
{
    const char* statements[] = {
        "zmx.delete_object(-1)",
        "zmx.delete_object(1.0)",
        "zmx.delete_object(2**64)",
        "zmx.broad_test(0, 0, 1, 1, 65536)",
        "zmx.distance_id(ID1=1, ID2=2)",  // positional only
        "zmx.send_client_widget_rects(clientID=0, name='w', a1=0, a2=0, a3=0, a4=0, a5=0, a6=0, a7=0, a8=0)",
        "zmx.distance_point_line(None, zmx.vec3(), zmx.vec3(1, 0, 0))",
        "zmx.cinematic_control(0, 1, 0, None, 0, zmx.vec3())",
        "zmx.distance(None, obj)",
        "zmx.push_to_standby_list(None)",
        "zmx.get_game_version(1)",
        "sim.create_space_object('behav_none', '', 65536)",
        "sim.create_space_object('behav_none', '', -1)",
    };
    for (const char* statement : statements)
        EXPECT_THAT(RunError(statement), HasSubstr("TypeError")) << statement;
    EXPECT_TRUE(sink.messages.empty());
    EXPECT_EQ(world.Container()->Objects().size(), 1u) << "nothing was created";
}

}  // namespace
}  // namespace scripttest
