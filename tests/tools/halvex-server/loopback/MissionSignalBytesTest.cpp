// What the mission's presentation and retained-GUI functions send a console,
// byte for byte: halvex-server runs a mission that calls each function for a
// bare console on loopback ENet, and the console compares every "signal" it
// receives with the payload the code table lays down, written here field by
// field. The console then types into the mission's text field, and the
// mission hears it as "gui_message".

#include "engine/net/QelEnetNetworkFactoryBase.h"
#include "engine/net/QelNetworkClient.h"
#include "game/net/RetainedGUISignals.h"
#include "game/net/SignalMessage.h"
#include "tests/tools/halvex-server/HarnessData.h"
#include "tests/support/WireBytes.h"
#include "tests/tools/halvex-server/HarnessProcess.h"

#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <set>
#include <thread>

namespace harnesstest {
namespace {

// A payload as the code table writes it: the code, then the fields.
qeltest::WireBytes Payload(uint16_t code)
{
    qeltest::WireBytes payload;
    payload.U16(code);
    return payload;
}

// One call of the mission ("c" is the console, "ship" its ship) and what the
// console must receive from it.
struct Call {
    const char* script;
    std::function<qeltest::WireBytes(uint64_t ship)> expected;
};

const Call kCalls[] = {
    {"zmx.send_message_to_client(c, '#ff0000', 'Hail')",
     [](uint64_t) { return Payload(25).F32(1).F32(0).F32(0).F32(1).Str("Hail"); }},
    {"zmx.send_message_to_player_ship(ship, 'blue', 'Aboard')",
     [](uint64_t) { return Payload(25).F32(0).F32(0).F32(1).F32(1).Str("Aboard"); }},
    {"zmx.send_message_to_player_ship(0, 'white', 'All')",
     [](uint64_t) { return Payload(25).F32(1).F32(1).F32(1).F32(1).Str("All"); }},
    {"zmx.send_comms_message_to_player_ship(ship, ship, 'head #e6b594 0 0', 'Depot', 'yellow', 'Dock.', 'white')",
     [](uint64_t s) {
         return Payload(26).U64(s).Str("head #e6b594 0 0").Str("Depot").Str("yellow").Str("Dock.").Str("white");
     }},
    {"zmx.send_comms_selection_info(ship, 'one', 'two', 'three')",
     [](uint64_t) { return Payload(27).Str("two").Str("one").Str("three"); }},
    {"zmx.send_comms_button_info(ship, 'one', 'two', 'three')",
     [](uint64_t) { return Payload(28).Str("three").Str("one").Str("two"); }},
    {"zmx.send_grid_selection_info(ship, 'one', 'two', 'three')",
     [](uint64_t) { return Payload(29).Str("two").Str("one").Str("three"); }},
    {"zmx.send_grid_button_info(ship, 'one', 'two', 'three')",
     [](uint64_t) { return Payload(30).Str("three").Str("one").Str("two"); }},
    {"zmx.set_music_tension(ship, 40)", [](uint64_t) { return Payload(50).F32(40); }},
    {"zmx.set_music_folder(c, 'calm')", [](uint64_t) { return Payload(49).Str("calm"); }},
    {"zmx.play_music_file(c, 'music/calm/low/drift')", [](uint64_t) { return Payload(51).Str("music/calm/low/drift"); }},
    {"zmx.play_audio_file(c, 'gui/beep', 0.5, 2)",
     [](uint64_t) { return Payload(53).Str("gui/beep").F32(0.5f).F32(2); }},
    {"zmx.set_dmx_channel(c, 3, 2, 10, 0, 255)",
     [](uint64_t) { return Payload(57).I32(3).I32(2).I32(10).I32(0).I32(255); }},
    {"zmx.particle_at(zmx.vec3(1, 2, 3), 'count:5')",
     [](uint64_t) { return Payload(63).U64(0).F32(1).F32(2).F32(3).Str("count:5"); }},
    {"zmx.particle_on(sim.get_space_object(ship), 'count:6')",
     [](uint64_t s) { return Payload(63).U64(s).F32(0).F32(0).F32(0).Str("count:6"); }},
    {"emitter = zmx.add_particle_emittor(sim.get_space_object(ship), 30, 'count:8')",
     [](uint64_t s) { return Payload(64).U64(3).U64(s).I32(30).Str("count:8"); }},
    {"zmx.delete_particle_emittor(emitter)",
     [](uint64_t) { return Payload(64).U64(3).U64(0).I32(0).Str("delete"); }},
    {"zmx.set_sky_box(c, 'sky2')", [](uint64_t) { return Payload(70).Str("sky2"); }},
    {"zmx.set_sky_box_all('sky3')", [](uint64_t) { return Payload(70).Str("sky3"); }},
    {"zmx.set_beam_damages(c, 2, 3)", [](uint64_t) { return Payload(71).F32(2).F32(3).F32(1); }},
    {"zmx.set_main_view_modes(c, 'lrs', 'front', 'chase')",
     [](uint64_t) { return Payload(40).Str("lrs").Str("front").Str("chase"); }},
    {"zmx.send_gui_clear(c, '')", [](uint64_t) { return Payload(37).Str(""); }},
    {"zmx.send_gui_typein(c, '', 'callsign', 'text:Callsign;desc:Name;password:no;font:gui-2;color:#0f0;"
     "draw_layer:12x;pixel_aligned:True', 1, 2, 3, 4)",
     [](uint64_t) {
         return Payload(35)
             .Str("typein").Str("Callsign").Str("callsign").Str("").Str("Name").Str("").Str("gui-2").Str("#0f0")
             .F32(0).F32(0).F32(0).I32(0).I32(12).U8(1).U8(1).U8(1)
             .F32(1).F32(2).F32(3).F32(4).F32(0).F32(0).F32(0).F32(0);
     }},
    {"zmx.send_gui_complete(c, '')", [](uint64_t) { return Payload(38).Str(""); }},
    {"zmx.hide_gui_tag(c, 'callsign')", [](uint64_t) { return Payload(83).Str("callsign").U8(0); }},
    {"zmx.show_gui_tag(c, 'callsign')", [](uint64_t) { return Payload(83).Str("callsign").U8(1); }},
    {"zmx.get_debug_gui_tree(c, 'tree', 1)", [](uint64_t) { return Payload(88).Str("tree").I32(1); }},
    {"zmx.send_gui_hotkey(c, 'Bridge', 'callsign', 'KEY_F1', 'Name')",
     [](uint64_t) { return Payload(94).Str("Bridge").Str("callsign").Str("KEY_F1").Str("Name"); }},
    {"zmx.remove_gui_hotkey(c, 'callsign')",
     [](uint64_t) { return Payload(94).Str("0").Str("callsign").Str("0").Str("0"); }},
    {"zmx.send_story_dialog(c, 'Briefing', 'Hold here.', '', 'white')",
     [](uint64_t) { return Payload(56).Str("Briefing").Str("Hold here.").Str("").Str("white"); }},
    // The server's own screen: nothing goes to the console.
    {"zmx.send_message_to_client(0, 'red', 'server only')", nullptr},
    {"zmx.send_gui_button(0, '', 'local', 'text:x', 0, 0, 1, 1)", nullptr},
};

// The mission: on a console's connection (and whenever the console asks
// "again" with a button action) it gives the console a ship and makes every
// call; a typed text comes back to it as "gui_message".
std::string MissionScript()
{
    std::string calls;
    for (const Call& call : kCalls)
        calls += "    " + std::string(call.script) + "\n";
    return "import zmx\n\nship = 0\n\n\n"
           "def make_calls(sim, c):\n"
           "    global ship\n"
           "    if ship == 0:\n"
           "        zmx.create_new_sim()\n"
           "        ship = sim.create_space_object('behav_none', 'tern_frigate', 0)\n"
           "    zmx.assign_client_to_ship(c, ship)\n" +
           calls +
           "\n\ndef halvex_event_handler(sim, event):\n"
           "    if event.tag == 'client_connect' or (event.tag == 'gui_message' and event.sub_tag == 'again'):\n"
           "        make_calls(sim, event.client_id)\n"
           "    elif event.tag == 'gui_message':\n"
           "        print('typed %s into %s' % (event.value_tag, event.sub_tag))\n";
}

class MissionSignalBytesTest : public ::testing::Test {
protected:
    // Console frames between two requests to make the calls again, when a
    // message sent unreliably went missing.
    static constexpr int kFramesBetweenRequests = 500;

    void SetUp() override
    {
        gNetworkFactory = &factory;
        harness = std::make_unique<HarnessProcess>(std::vector<std::string>{
            "--data", folder.data.Path().string(), "--mission", "trial", "--port", "0", "--seconds", "120"});
        const std::optional<uint16_t> port = harness->WaitForPort();
        ASSERT_TRUE(port) << harness->Errors();
        console = factory.GetClient("console", *port);
        ASSERT_TRUE(console->Connect("127.0.0.1"));
    }

    void TearDown() override
    {
        harness->Signal(SIGTERM);
        EXPECT_EQ(harness->Wait(), 0) << harness->Errors();
        gNetworkFactory = nullptr;
    }

    void SendAction(const RetainedActionSignal& action)
    {
        QelNetworkMessage message;
        message.WriteInt64(HashMessageName("signal"));
        WriteSignal(message, action);
        console->Send(message);
    }

    // Every "signal" payload received of the codes the calls send, and the
    // console's ship once it is told.
    void Receive()
    {
        QelNetworkMessage message;
        while (console->Receive(message)) {
            message.readIndex = 0;
            uint64_t key = 0;
            uint16_t code = 0;
            message.ReadInt64(key);
            if (key != HashMessageName("signal") || !ReadSignalCode(message, code))
                continue;
            if (code == SIGNAL_MESS_MY_SHIP_ID)
                message.ReadInt64(ship);
            else if (kCalledCodes.count(code))
                received.emplace(message.Data() + 8, message.Data() + message.writeIndex);
        }
    }

    std::set<std::vector<uint8_t>> Expected() const
    {
        std::set<std::vector<uint8_t>> expected;
        for (const Call& call : kCalls)
            if (call.expected)
                expected.insert(call.expected(ship).bytes);
        return expected;
    }

    bool AllArrived() const
    {
        const std::set<std::vector<uint8_t>> expected = Expected();
        return ship != 0 && std::includes(received.begin(), received.end(), expected.begin(), expected.end());
    }

    const std::set<uint16_t> kCalledCodes = {25, 26, 27, 28, 29, 30, 35, 37, 38, 40, 49, 50, 51,
                                             53, 56, 57, 63, 64, 70, 71, 83, 88, 94};
    MissionFolder folder{MissionScript()};
    QelEnetNetworkFactoryBase factory;
    std::unique_ptr<HarnessProcess> harness;
    QelNetworkClient* console = nullptr;
    uint64_t ship = 0;
    std::set<std::vector<uint8_t>> received;
};

TEST_F(MissionSignalBytesTest, each_function_sends_its_payload_byte_for_byte_and_typing_reaches_the_mission)
{
    const auto deadline = std::chrono::steady_clock::now() + HarnessProcess::kPatience;
    bool askedAgain = false;
    for (int frame = 1; !AllArrived() && std::chrono::steady_clock::now() < deadline; ++frame) {
        Receive();
        if (frame % kFramesBetweenRequests == 0) {
            SendAction({"again", retained_kind::kButton, 0.0f, "", 0});
            askedAgain = true;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    ASSERT_NE(ship, 0u) << harness->Errors();
    const std::set<std::vector<uint8_t>> expected = Expected();
    for (const Call& call : kCalls) {
        if (call.expected) {
            EXPECT_EQ(received.count(call.expected(ship).bytes), 1u) << call.script;
        }
    }
    // A second round hands out another emitter id; only one round shows that
    // nothing else was sent.
    if (!askedAgain) {
        for (const std::vector<uint8_t>& payload : received)
            EXPECT_EQ(expected.count(payload), 1u) << "a message of code " << (payload[0] | payload[1] << 8)
                                                   << " that no call sends";
    }

    SendAction({"callsign", retained_kind::kTypein, 0.0f, "Kestrel", 0});
    EXPECT_TRUE(harness->WaitForLine("typed Kestrel into callsign", [&] { Receive(); })) << harness->Errors();
}

}  // namespace
}  // namespace harnesstest
