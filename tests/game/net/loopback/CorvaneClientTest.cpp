// The console side over real ENet sockets on loopback: a bare server endpoint
// stands in for the server, and the test drives frames and ticks by hand.

#include "engine/base/QelFileServices.h"
#include "engine/net/QelEnetNetworkFactoryBase.h"
#include "engine/net/TransportRules.h"
#include "game/net/BeamMessage.h"
#include "game/net/CorvaneClient.h"
#include "game/net/CutShortMessages.h"
#include "game/net/RejectedMessages.h"
#include "game/net/SignalMessage.h"
#include "game/net/SpaceObjectRecord.h"
#include "game/world/ObjectId.h"
#include "game/world/ShipData.h"
#include "game/world/Simulation.h"
#include "tests/engine/net/LoopbackHarness.h"
#include "tests/support/QuietGraphics.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <memory>

namespace {

constexpr uint64_t kObject = kSpaceObjectIdBit;

// One "signal" as the server endpoint received it.
struct ReceivedSignal {
    uint16_t code = 0;
    QelNetworkMessage* message = nullptr;  // read position just after the code
};

class CorvaneClientTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        gNetworkFactory = &factory;
        world.Reset(false, "");
        endpoint = factory.GetServer("server", 0);
        ASSERT_FALSE(endpoint->IsNotRunning());
        mapFile = std::filesystem::temp_directory_path() /
                  ("client_string_set_" + std::to_string(::getpid()) + ".txt");
        std::filesystem::remove(mapFile);
    }

    void TearDown() override
    {
        client.reset();
        std::filesystem::remove(mapFile);
        gNetworkFactory = nullptr;
    }

    void MakeClient()
    {
        CorvaneClient::Settings settings;
        settings.port = endpoint->BoundPort();
        settings.contactDecayDelay = kDecayDelay;
        settings.stringMapFile = mapFile;
        client = std::make_unique<CorvaneClient>(settings);
        client->SetWorld(&world);
        RouteConsoleCommands(client.get());
    }

    // Connects the client and waits until both ends have seen it.
    void ConnectClient()
    {
        MakeClient();
        ASSERT_TRUE(client->Connect(qel::test::kLoopback));
        ASSERT_TRUE(qel::test::PumpUntil([&] {
            ServerReceive();
            return clientId != 0 && client->IsConnected();
        }));
    }

    // Takes everything waiting at the server endpoint.
    void ServerReceive()
    {
        for (;;) {
            auto message = std::make_unique<QelNetworkMessage>();
            uint64_t sender = 0;
            if (!endpoint->Receive(*message, sender))
                return;
            uint64_t key = 0;
            message->ReadInt64(key);
            if (key == qel::kConnectedKey) {
                clientId = sender;
                continue;
            }
            ReceivedSignal signal;
            if (key != HashMessageName("signal") || !ReadSignalCode(*message, signal.code))
                continue;
            signal.message = message.get();
            signals.push_back(signal);
            kept.push_back(std::move(message));
        }
    }

    // Waits until the server endpoint has received `count` signals in all.
    bool ServerGetsSignals(size_t count)
    {
        return qel::test::PumpUntil([&] {
            ServerReceive();
            return signals.size() >= count;
        });
    }

    void SendToClient(QelNetworkMessage& message)
    {
        message.recipients = {clientId};
        endpoint->Send(message, 1);
    }

    template <typename Signal>
    void SignalToClient(const Signal& signal)
    {
        QelNetworkMessage message;
        message.WriteInt64(HashMessageName("signal"));
        WriteSignal(message, signal);
        SendToClient(message);
    }

    // A "spaceobjectupdate" carrying the records of the objects.
    void SendUpdate(const std::vector<const SpaceObject*>& objects)
    {
        QelNetworkMessage message;
        message.WriteInt64(HashMessageName("spaceobjectupdate"));
        for (const SpaceObject* object : objects)
            WriteSpaceObjectRecord(*object, kRecordMarkerNearby, message);
        message.WriteInt64(0);
        SendToClient(message);
    }

    // Runs client frames until the condition holds.
    bool FramesUntil(const std::function<bool()>& done)
    {
        return qel::test::PumpUntil([&] {
            ServerReceive();
            client->FrameUpdate();
            return done();
        });
    }

    SpaceObject* AddObject(uint64_t id, const glm::vec3& pos, uint16_t abits = 0)
    {
        SpaceObject* object = world.MakeSpaceObject(id, "", "", abits, 0, 0, 1).release();
        object->pos = pos;
        world.Container()->Add(object);
        return object;
    }

    static constexpr int32_t kDecayDelay = 100;

    QelEnetNetworkFactoryBase factory;
    Simulation world;
    QelNetworkServer* endpoint = nullptr;
    std::unique_ptr<CorvaneClient> client;
    std::filesystem::path mapFile;
    uint64_t clientId = 0;
    std::vector<ReceivedSignal> signals;
    std::vector<std::unique_ptr<QelNetworkMessage>> kept;
};

TEST_F(CorvaneClientTest, heartbeat_leaves_every_61_ticks_and_an_object_request_every_11_even_when_empty)
{
    ConnectClient();
    for (int tick = 1; tick <= 61; ++tick)
        client->Tick();
    ASSERT_TRUE(ServerGetsSignals(6));
    std::vector<uint16_t> codes;
    for (const ReceivedSignal& s : signals)
        codes.push_back(s.code);
    const uint16_t request = SIGNAL_MESS_FULL_OBJECT_REQUEST;
    EXPECT_EQ(codes, (std::vector<uint16_t>{request, request, request, request, request, SIGNAL_MESS_HEARTBEAT}));
    FullObjectRequestSignal empty;
    ASSERT_TRUE(ReadSignal(*signals[0].message, empty));
    EXPECT_TRUE(empty.objectIds.empty());
}

TEST_F(CorvaneClientTest, request_queue_of_25_goes_out_as_10_10_and_5_and_is_asked_again_after_1001_ticks)
{
    ConnectClient();
    for (uint64_t i = 1; i <= 25; ++i) {
        client->RequestFullObject(kObject | i);
        client->RequestFullObject(kObject | i);  // asked once only
    }
    EXPECT_EQ(client->RequestQueue().size(), 25u);
    for (int tick = 1; tick <= 33; ++tick)
        client->Tick();
    ASSERT_TRUE(ServerGetsSignals(3));
    size_t sizes[3] = {};
    uint64_t next = 1;
    for (int i = 0; i < 3; ++i) {
        FullObjectRequestSignal request;
        ASSERT_TRUE(ReadSignal(*signals[i].message, request));
        sizes[i] = request.objectIds.size();
        for (uint64_t id : request.objectIds)
            EXPECT_EQ(id, kObject | next++);
    }
    EXPECT_EQ(sizes[0], 10u);
    EXPECT_EQ(sizes[1], 10u);
    EXPECT_EQ(sizes[2], 5u);

    client->FullObjectArrived(kObject | 1);
    client->RequestFullObject(kObject | 1);  // arrived: may be asked again
    client->RequestFullObject(kObject | 2);  // still awaited: not again
    EXPECT_EQ(client->RequestQueue(), (std::vector<uint64_t>{kObject | 1}));
    for (int tick = 34; tick <= 1001; ++tick)
        client->Tick();
    EXPECT_TRUE(client->RequestedIds().empty());
}

// The answer to a request can be lost on the way: the object is asked for
// again at its first record more than 60 ticks after the request left, not
// only when the requested ids are forgotten 1001 ticks on.
TEST_F(CorvaneClientTest, an_object_whose_answer_was_lost_is_asked_for_again_at_its_next_record_after_60_ticks)
{
    ConnectClient();
    const SpaceObject* known = AddObject(kObject | 1, {});
    // The server's view: the known object moves with every update, which
    // tells the test the update was handled; the other one the console
    // has never been sent in full.
    SpaceObject serverKnown(kObject | 1, "", "", 0, 0, 0, 1);
    const SpaceObject unknown(kObject | 2, "", "", 0, 0, 0, 1);
    int ticks = 0;
    const auto updateAtTick = [&](int tick) {
        for (; ticks < tick; ++ticks)
            client->Tick();
        serverKnown.pos.x = static_cast<float>(tick);
        SendUpdate({&serverKnown, &unknown});
        return FramesUntil([&] { return known->targetPos.x == serverKnown.pos.x; });
    };
    const auto lastRequest = [&] {
        FullObjectRequestSignal request;
        EXPECT_TRUE(ReadSignal(*signals.back().message, request));
        return request.objectIds;
    };

    ASSERT_TRUE(updateAtTick(1));
    EXPECT_EQ(client->RequestQueue(), std::vector<uint64_t>{unknown.uniqueID});
    ASSERT_TRUE(updateAtTick(11));
    ASSERT_TRUE(ServerGetsSignals(1));
    EXPECT_EQ(lastRequest(), std::vector<uint64_t>{unknown.uniqueID}) << "the request leaves at tick 11";

    // No answer comes.
    ASSERT_TRUE(updateAtTick(71));
    EXPECT_TRUE(client->RequestQueue().empty()) << "60 ticks after the request its answer may still come";
    ASSERT_TRUE(updateAtTick(72));
    EXPECT_EQ(client->RequestQueue(), std::vector<uint64_t>{unknown.uniqueID});
    ASSERT_TRUE(updateAtTick(77));
    ASSERT_TRUE(ServerGetsSignals(8)) << "requests at ticks 11, 22, ... 77 and the heartbeat at 61";
    EXPECT_EQ(lastRequest(), std::vector<uint64_t>{unknown.uniqueID});
}

// A server naming ever new unknown ids grew the queue without end, far
// faster than requests could drain it.
TEST_F(CorvaneClientTest, request_queue_stops_growing_at_its_bound_and_a_refused_id_is_asked_for_later)
{
    MakeClient();
    const uint64_t bound = CorvaneClient::kMaxQueuedRequests;
    for (uint64_t i = 1; i <= bound + 50; ++i)
        client->RequestFullObject(kObject | i);
    EXPECT_EQ(client->RequestQueue().size(), bound);
    EXPECT_EQ(client->RequestedIds().count(kObject | (bound + 1)), 0u);
    for (int tick = 1; tick <= 11; ++tick)
        client->Tick();
    client->RequestFullObject(kObject | (bound + 1));
    EXPECT_EQ(client->RequestQueue().back(), kObject | (bound + 1));
}

TEST_F(CorvaneClientTest, beam_is_recorded_in_the_console_world_and_transient_changes_nothing)
{
    ConnectClient();
    const uint64_t rejectedBefore = RejectedMessageCount();
    QelNetworkMessage beam;
    beam.WriteInt64(HashMessageName("beam"));
    WriteBeamMessage(beam, {"strange_kind", "a", "b", kObject | 77, 0, {1, 2, 3}, {4, 5, 6}, 2});
    SendToClient(beam);

    QelNetworkMessage wrongId;
    wrongId.WriteInt64(HashMessageName("beam"));
    WriteBeamMessage(wrongId, {"beam", "", "", kClientIdBit | 501, 0, {}, {}, 0});
    SendToClient(wrongId);

    QelNetworkMessage transient;
    transient.WriteInt64(HashMessageName("transient"));
    transient.WriteInt32(1).WriteInt32(2).WriteInt64(3).WriteInt64(4).WriteInt32(5).WriteInt32(6).WriteInt32(7);
    transient.WriteString("text").WriteInt64(8);
    SendToClient(transient);

    ASSERT_TRUE(FramesUntil([&] { return RejectedMessageCount() > rejectedBefore; }));
    ASSERT_TRUE(FramesUntil([&] { return client->FramesSinceLastMessage() >= 3; }));
    ASSERT_EQ(world.effectEvents.size(), 1u);
    EXPECT_EQ(world.effectEvents[0].kind, "strange_kind");  // unknown kinds are the world's to drop
    EXPECT_EQ(world.effectEvents[0].firstId, kObject | 77);  // unknown ids are recorded as they are
    EXPECT_EQ(world.effectEvents[0].secondPoint.z, 6.0f);
    EXPECT_EQ(client->Queues().Dropped().malformed, 0u);
    EXPECT_EQ(client->Queues().Dropped().unknownKey, 0u);
}

TEST_F(CorvaneClientTest, frames_since_last_message_count_up_and_start_again_at_each_arrival)
{
    ConnectClient();
    ASSERT_TRUE(FramesUntil([&] { return client->FramesSinceLastMessage() >= 5; }));
    QelNetworkMessage m;
    m.WriteInt64(HashMessageName("testValueToClient"));
    SendToClient(m);
    EXPECT_TRUE(qel::test::PumpUntil([&] {
        ServerReceive();  // lets the endpoint's packet leave
        return client->FramesSinceLastMessage() == 0;
    }));
}

TEST_F(CorvaneClientTest, contacts_silent_for_longer_than_the_delay_are_forgotten_at_their_buckets_turn)
{
    MakeClient();
    world.clock.time_tick_counter = 1000;
    SpaceObject* exact = AddObject(kObject | 11, {});
    SpaceObject* older = AddObject(kObject | 21, {});
    SpaceObject* still = AddObject(kObject | 31, {}, SpaceObject::kStaticBit);
    SpaceObject* otherBucket = AddObject(kObject | 12, {});
    exact->lastUpdateTick = 1000 - kDecayDelay;
    older->lastUpdateTick = 1000 - kDecayDelay - 1;
    still->lastUpdateTick = 0;
    otherBucket->lastUpdateTick = 0;

    // Buckets are the ids modulo ten, examined 1, 2, ... 9, 0, 1, ...
    client->DecayContacts();
    EXPECT_EQ(client->DecayBucket(), 1);
    EXPECT_TRUE(world.SpaceObjectExists(kObject | 11));
    EXPECT_FALSE(world.SpaceObjectExists(kObject | 21));
    EXPECT_TRUE(world.SpaceObjectExists(kObject | 31));
    EXPECT_TRUE(world.SpaceObjectExists(kObject | 12));  // not its turn yet

    client->DecayContacts();
    EXPECT_EQ(client->DecayBucket(), 2);
    EXPECT_FALSE(world.SpaceObjectExists(kObject | 12));
    for (int step = 0; step < CorvaneClient::kDecayBucketCount; ++step)
        client->DecayContacts();
    EXPECT_TRUE(world.SpaceObjectExists(kObject | 11));
    EXPECT_TRUE(world.SpaceObjectExists(kObject | 31));
}

TEST_F(CorvaneClientTest, distance_sort_orders_objects_in_2000_unit_steps_and_never_swaps_equal_steps)
{
    MakeClient();
    AddObject(kObject | 1, {0, 0, 0});  // the own ship
    world.subjectID = kObject | 1;
    AddObject(kObject | 2, {9000, 0, 0});
    AddObject(kObject | 3, {5000, 0, 0});
    AddObject(kObject | 4, {1500, 0, 0});  // same 2000 step as the next: order kept
    AddObject(kObject | 5, {1000, 0, 0});
    for (int frame = 0; frame < 100; ++frame)
        client->FrameUpdate();
    std::vector<uint64_t> order;
    for (const SuperContainerObject* object : world.Container()->Objects())
        order.push_back(object->uniqueID & 0xFF);
    EXPECT_EQ(order, (std::vector<uint64_t>{1, 4, 5, 3, 2}));
}

// Found by fuzzing: the answer to a request for a client string whose key
// fills a message went out cut short, without its value.
TEST_F(CorvaneClientTest, an_answer_too_long_for_a_message_is_not_sent_cut_short)
{
    ConnectClient();
    QelNetworkMessage request;
    request.WriteInt64(HashMessageName("signal"));
    WriteSignal(request, ClientStringRequestSignal{std::string(QelNetworkMessage::kMessageBufferSize - 12, 'k')});
    ASSERT_FALSE(request.IsOverflowed());
    SendToClient(request);
    QelNetworkMessage ping;
    ping.WriteInt64(HashMessageName("signal"));
    WriteSignal(ping, PingSignal{7});
    SendToClient(ping);
    const uint64_t cutShortBefore = CutShortMessageCount();
    ASSERT_TRUE(qel::test::PumpUntil([&] {
        client->FrameUpdate();
        ServerReceive();
        return !signals.empty();
    }));
    ASSERT_EQ(signals.size(), 1u);
    EXPECT_EQ(signals[0].code, SIGNAL_MESS_PING);
    EXPECT_EQ(CutShortMessageCount(), cutShortBefore + 1);
}

// Found by fuzzing: a server may place objects far beyond any sector, and
// their squared distance in steps did not fit the integer it was turned into.
TEST_F(CorvaneClientTest, distance_sort_orders_objects_far_beyond_any_sector)
{
    MakeClient();
    AddObject(kObject | 1, {0, 0, 0});
    world.subjectID = kObject | 1;
    AddObject(kObject | 2, {1e19f, 0, 0});
    AddObject(kObject | 3, {-3e38f, 3e38f, 0});
    AddObject(kObject | 4, {5e18f, 0, 0});
    for (int frame = 0; frame < 100; ++frame)
        client->FrameUpdate();
    std::vector<uint64_t> order;
    for (const SuperContainerObject* object : world.Container()->Objects())
        order.push_back(object->uniqueID & 0xFF);
    EXPECT_EQ(order, (std::vector<uint64_t>{1, 4, 2, 3}));
}

TEST_F(CorvaneClientTest, string_map_is_read_with_either_line_end_and_saved_100_frames_after_the_last_change)
{
    {
        std::ofstream file(mapFile, std::ios::binary);
        file << "alpha\r\none \t\r\nbeta\ntwo\nlast";
    }
    MakeClient();
    EXPECT_EQ(client->stringMap, (std::map<std::string, std::string>{{"alpha", "one"}, {"beta", "two"}, {"last", ""}}));

    client->stringMap["gamma"] = "three";
    client->StringMapChanged();
    for (int frame = 1; frame < CorvaneClient::kSaveDelayFrames; ++frame)
        client->FrameUpdate();
    client->stringMap["delta"] = "four";  // not yet saved: the file still holds the old map
    {
        std::ifstream file(mapFile, std::ios::binary);
        std::string text((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
        EXPECT_EQ(text.find("gamma"), std::string::npos);
    }
    client->FrameUpdate();
    std::ifstream file(mapFile, std::ios::binary);
    std::string text((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    EXPECT_EQ(text, "alpha\none\nbeta\ntwo\ndelta\nfour\ngamma\nthree\nlast\n\n");
}

TEST_F(CorvaneClientTest, a_string_map_entry_with_a_line_break_is_not_saved_and_the_others_read_back_unchanged)
{
    MakeClient();
    client->stringMap = {{"alpha", "one"}, {"beta", "two\nlines"}, {"ga\nmma", "three"}, {"zeta", "last"}};
    client->StringMapChanged();
    for (int frame = 0; frame < CorvaneClient::kSaveDelayFrames; ++frame)
        client->FrameUpdate();
    client.reset();
    MakeClient();
    EXPECT_EQ(client->stringMap, (std::map<std::string, std::string>{{"alpha", "one"}, {"zeta", "last"}}));
}

TEST_F(CorvaneClientTest, a_ship_key_that_keeps_missing_is_requested_once_per_run)
{
    ConnectClient();
    ShipData& ships = ShipData::Instance();
    ships.requestedFlags.erase("mystery_hull");
    ships.missCounters["mystery_hull"] = 3;
    ASSERT_TRUE(FramesUntil([&] { return ships.missCounters["mystery_hull"] < 0; }));
    EXPECT_EQ(ships.missCounters["mystery_hull"], -10);
    ASSERT_TRUE(ServerGetsSignals(1));
    ASSERT_EQ(signals[0].code, SIGNAL_MESS_SHIP_RECORD);
    ShipRecordRequestSignal request;
    ASSERT_TRUE(ReadSignal(*signals[0].message, request));
    EXPECT_EQ(request.shipKey, "mystery_hull");

    ships.missCounters["mystery_hull"] = 5;
    world.clock.time_tick_counter += CorvaneClient::kHousekeepingTicks;
    ASSERT_TRUE(FramesUntil([&] { return ships.missCounters["mystery_hull"] < 0; }));
    for (int32_t tick = 0; tick <= CorvaneClient::kRequestTicks; ++tick)
        client->Tick();  // a message after any request, so none can still be on its way
    ASSERT_TRUE(ServerGetsSignals(2));
    for (size_t i = 1; i < signals.size(); ++i)
        EXPECT_NE(signals[i].code, SIGNAL_MESS_SHIP_RECORD);
    ships.missCounters.erase("mystery_hull");
}

}  // namespace


TEST_F(CorvaneClientTest, connection_signals_are_answered_with_the_ping_key_and_the_machine_name)
{
    ConnectClient();
    signals.clear();
    SignalToClient(PingSignal{-77});
    SignalToClient(MachineNameSignal{"bridge-left"});
    SignalToClient(MachineNameQuerySignal{});
    SignalToClient(ConnectResetSignal{});
    auto answers = [&](uint16_t code) {
        std::vector<ReceivedSignal> found;
        for (const ReceivedSignal& s : signals)
            if (s.code == code)
                found.push_back(s);
        return found;
    };
    ASSERT_TRUE(FramesUntil([&] {
        return answers(SIGNAL_MESS_PING).size() == 1 && answers(SIGNAL_MESS_MACHINE_NAME).size() == 2;
    }));
    PingSignal echo;
    ASSERT_TRUE(ReadSignal(*answers(SIGNAL_MESS_PING)[0].message, echo));
    EXPECT_EQ(echo.key, -77);
    for (const ReceivedSignal& s : answers(SIGNAL_MESS_MACHINE_NAME)) {
        MachineNameSignal name;
        ASSERT_TRUE(ReadSignal(*s.message, name));
        EXPECT_EQ(name.name, "bridge-left");
    }
    EXPECT_EQ(client->MachineName(), "bridge-left");
    // The new name is remembered for the next start.
    std::string stored;
    EXPECT_TRUE(QelFileServices::Instance().GetRegistryValue("clientMachineName", stored));
    EXPECT_EQ(stored, "bridge-left");
}

TEST_F(CorvaneClientTest, screen_size_query_is_answered_with_the_window_size_once_there_is_a_window)
{
    ConnectClient();
    signals.clear();
    SignalToClient(ScreenSizeQuerySignal{});
    SignalToClient(PingSignal{5});  // answered after the query would be
    ASSERT_TRUE(FramesUntil([&] { return !signals.empty() && signals.back().code == SIGNAL_MESS_PING; }));
    EXPECT_EQ(signals.size(), 1u) << "a console without a window has no size to tell";

    qeltest::QuietGraphics graphics;
    gGraphicsFactory = &graphics;
    signals.clear();
    SignalToClient(ScreenSizeQuerySignal{});
    ASSERT_TRUE(FramesUntil([&] { return !signals.empty(); }));
    gGraphicsFactory = nullptr;
    ASSERT_EQ(signals[0].code, SIGNAL_MESS_SCREEN_SIZE);
    ScreenSizeSignal size;
    ASSERT_TRUE(ReadSignal(*signals[0].message, size));
    EXPECT_EQ(size.width, 1024);
    EXPECT_EQ(size.height, 768);
}

TEST_F(CorvaneClientTest, mission_reads_and_writes_the_consoles_own_string_map)
{
    ConnectClient();
    signals.clear();
    SignalToClient(SetClientStringSignal{"callsign", "Halcyon"});
    SignalToClient(ClientStringRequestSignal{"callsign"});
    SignalToClient(ClientStringRequestSignal{"never_set"});
    SignalToClient(SetClientStringSignal{"", "refused"});
    ASSERT_TRUE(FramesUntil([&] { return signals.size() >= 2; }));
    std::vector<ClientStringSignal> answers;
    for (const ReceivedSignal& s : signals) {
        ASSERT_EQ(s.code, SIGNAL_MESS_REQUEST_CLIENT_STRING);
        ClientStringSignal answer;
        ASSERT_TRUE(ReadSignal(*s.message, answer));
        answers.push_back(answer);
    }
    EXPECT_EQ(answers[0].key, "callsign");
    EXPECT_EQ(answers[0].value, "Halcyon");
    EXPECT_EQ(answers[1].key, "never_set");
    EXPECT_EQ(answers[1].value, "");
    EXPECT_EQ(client->stringMap.count("never_set"), 0u);  // asking adds nothing
    EXPECT_EQ(client->stringMap.count(""), 0u);
    EXPECT_GT(client->saveCountdown, 0);
}
