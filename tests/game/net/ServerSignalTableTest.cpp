// The server's side of the "signal" code table: every code a console sends
// has a handler that reads its payload, and a payload cut short at any byte
// is dropped whole: nothing of it reaches the ship, the mission or the queues.

#include "game/net/AssetTransferSignals.h"
#include "game/net/RejectedMessages.h"
#include "game/net/RetainedGUISignals.h"
#include "game/net/SignalMessageCrew.h"
#include "tests/game/net/ServerSignalFixture.h"

#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <set>
#include <tuple>

namespace {

using nettest::kConsole;
using SignalTableTest = nettest::ServerSignalFixture;

// The codes consoles send to the server.
const std::set<uint16_t> kConsoleToServerCodes = {3,  4,  5,  6,  7,  8,  9,  10, 11, 13, 15, 31, 32, 33, 34, 39, 40,
                                                  41, 42, 46, 47, 48, 52, 55, 59, 62, 65, 67, 68, 69, 72, 73, 74, 75,
                                                  76, 77, 78, 85, 88, 89, 91, 92, 93, 95, 99, 100, 101, 102, 103};
// Codes whose server side is still to come: none. Building one takes it off
// this list.
const std::set<uint16_t> kNotYetHandled = {};

// A console's message of each code, as its writer makes it.
std::vector<std::function<void(QelNetworkMessage&)>> ConsoleMessages(uint64_t ship, uint64_t other)
{
    auto of = [](auto signal) { return [signal](QelNetworkMessage& m) { WriteSignal(m, signal); }; };
    return {
        of(FullObjectRequestSignal{{other}}),
        of(ThrottleSignal{0.5f}),
        of(ReverseSignal{1}),
        of(SteerSignal{0.1f, 0.2f, 0.3f}),
        of(Steer2DSignal{0.1f, 0.2f}),
        of(SteerFreeSignal{0.1f, 0.2f, 0.3f}),
        of(DockSignal{ship}),
        of(UndockSignal{ship}),
        of(SelectObjectSignal{other, "weapons", "", "weapon_target_UID", "lmb", 1.0f, 2.0f, 3.0f}),
        of(TorpedoTubeSignal{TorpedoTubeSignal::kSelectType, "Homing", 0}),
        of(FloatValueFromClientSignal{"eng_control_value", 2.0f, 1}),
        of(UInt64ValueFromClientSignal{"camera_target_UID", other, 0}),
        of(ConsoleNameSignal{"science"}),
        of(CommsButtonSignal{"Hail", ship, other}),
        of(RetainedActionSignal{"warp", "slider", 0.5f, "", 0}),
        of(MainScreenViewRequestSignal{"3d", "front", "chase"}),
        of(ShieldsSignal{1}),
        of(GridRequestSignal{1}),
        of(GridObjectSelectionSignal{ship, 0, "grid", "list"}),
        of(GridPointSelectionSignal{ship, 3, 4, "grid", "interior"}),
        of(GridButtonSignal{"repair", ship, 0}),
        of(SongEndedSignal{ship}),
        of(ClientChangeSignal{"client_connected"}),
        of(RedAlertSignal{1}),
        of(ScreenSizeSignal{1280, 720}),
        of(ShipRecordRequestSignal{"tern_frigate"}),
        of(AssetDataRequestSignal{7, "tern_frigate", 0, 0, 1, 50, 50}),
        of(BeamFrequencySignal{2}),
        of(BeamSpeedSignal{1}),
        of(ShieldPiercingSignal{other, 1.0f, 2.0f, 3.0f}),
        of(TorpedoConversionSignal{2}),
        of(FighterBoostSignal{1}),
        of(FighterThrustSignal{1}),
        of(FighterShootSignal{1}),
        of(FighterTorpedoSignal{1}),
        of(FighterDockRequestSignal{1}),
        of(JumpSignal{2.0f, 90.0f}),
        of(QuickJumpSignal{-1.0f}),
        of(DebugTreeTextSignal{"tree"}),
        of(ClientStringSignal{"callsign", "Kestrel"}),
        of(ScanCheckSignal{other}),
        of(ScanCommandSignal{other, "start", "bio"}),
        of(WidgetBoxStateSignal{"throttle", "helm", 1, 5, 10, 45, 90}),
        of(HoldClickSignal{ship, other, "Escort", 1.0f, 2.0f, 3.0f, 0}),
        of(HoldButtonSignal{"normal", "orders", {ship, other, 0, 0}}),
        of(ConsoleScriptEventSignal{other, "fighter_launch", "bay 2"}),
        of(PingSignal{7}),
        of(MachineNameSignal{"bridge-left"}),
    };
}

// Everything of the world a signal may change, as comparable values.
using Snapshot = std::map<std::tuple<uint64_t, uint64_t, int32_t>, std::tuple<int32_t, int64_t, float, std::string>>;

Snapshot TakeSnapshot(Simulation& world, std::initializer_list<uint64_t> ids)
{
    Snapshot snapshot;
    for (uint64_t id : ids)
        world.GetSpaceObject(id)->data_set.ForEachElement(
            [&](uint64_t tag, int32_t index, const ObjectDataBlobElement& e) {
                snapshot[{id, tag, index}] = {static_cast<int32_t>(e.dataType), e.intValue, e.floatValue, e.stringValue};
            });
    return snapshot;
}

// A handler reads its payload: given the code alone, it reads past the end.
// The heartbeat carries nothing; it is seen by what it does.
TEST_F(SignalTableTest, every_code_a_console_sends_has_a_server_handler)
{
    for (uint16_t code : kConsoleToServerCodes) {
        if (code == SIGNAL_MESS_HEARTBEAT) {
            server.FindClient(kConsole)->idleCount = 5;
            Send(HeartbeatSignal{});
            EXPECT_EQ(server.FindClient(kConsole)->idleCount, 0);
            continue;
        }
        QelNetworkMessage message;
        message.WriteInt64(HashMessageName("signal"));
        WriteSignalCode(message, static_cast<SignalMessageCode>(code));
        Deliver(message);
        EXPECT_EQ(message.IsBad(), !kNotYetHandled.contains(code)) << "code " << code;
    }
}

TEST_F(SignalTableTest, a_payload_cut_at_any_byte_changes_nothing)
{
    const uint64_t third = world.CreateSpaceObject("", "", 0);
    const auto messages = ConsoleMessages(ownShip, third);
    std::set<uint16_t> covered;
    for (const auto& write : messages) {
        const auto make = [&write](QelNetworkMessage& m) {
            m.WriteInt64(HashMessageName("signal"));
            write(m);
        };
        QelNetworkMessage whole;
        make(whole);
        whole.readIndex = 8;
        uint16_t code = 0;
        ASSERT_TRUE(ReadSignalCode(whole, code));
        covered.insert(code);
        for (int32_t length = 10; length < whole.writeIndex; ++length) {
            const Snapshot before = TakeSnapshot(world, {ownShip, otherShip, third});
            QelNetworkMessage cut;
            make(cut);
            cut.writeIndex = length;
            Deliver(cut);
            EXPECT_EQ(TakeSnapshot(world, {ownShip, otherShip, third}), before) << "code " << code << " cut to " << length;
            EXPECT_TRUE(host.events.empty()) << "code " << code << " cut to " << length;
            host.events.clear();
        }
    }
    const ClientRecord& record = *server.FindClient(kConsole);
    EXPECT_TRUE(record.pendingFullObjects.empty());
    EXPECT_TRUE(record.pendingShipRecords.empty());
    EXPECT_TRUE(server.scanQueues[ownShip].empty());
    for (uint16_t code : kConsoleToServerCodes) {
        if (code != SIGNAL_MESS_HEARTBEAT && !kNotYetHandled.contains(code)) {
            EXPECT_TRUE(covered.contains(code)) << "no message of code " << code << " is cut here";
        }
    }
}

// A message longer than its code's payload was written to another layout
// than this side reads: none of it is taken, however sound its start.
TEST_F(SignalTableTest, a_payload_with_bytes_beyond_it_changes_nothing_and_is_counted)
{
    const uint64_t third = world.CreateSpaceObject("", "", 0);
    for (const auto& write : ConsoleMessages(ownShip, third)) {
        QelNetworkMessage message;
        message.WriteInt64(HashMessageName("signal"));
        write(message);
        message.WriteInt32(0);
        message.readIndex = 8;
        uint16_t code = 0;
        ASSERT_TRUE(ReadSignalCode(message, code));
        message.readIndex = 0;
        const Snapshot before = TakeSnapshot(world, {ownShip, otherShip, third});
        const uint64_t rejected = RejectedMessageCount();
        Deliver(message);
        EXPECT_EQ(TakeSnapshot(world, {ownShip, otherShip, third}), before) << "code " << code;
        EXPECT_TRUE(host.events.empty()) << "code " << code;
        EXPECT_EQ(RejectedMessageCount(), rejected + 1) << "code " << code;
        host.events.clear();
    }
    EXPECT_TRUE(server.scanQueues[ownShip].empty());
}

}  // namespace
