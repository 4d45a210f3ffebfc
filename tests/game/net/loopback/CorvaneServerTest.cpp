// The server over real ENet sockets on loopback: console records, welcome,
// heartbeats and time-outs, hostile input, and hosting stopped and restarted.

#include "ServerHarness.h"

#include "engine/base/PerSecondCounterMap.h"
#include "engine/base/QelClock.h"
#include "game/net/BeamMessage.h"
#include "game/world/ObjectId.h"
#include "helper/CRand.h"
#include "tests/support/RecordingScriptHost.h"

#include <enet/enet.h>

#include <limits>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {

using nettest::ServerFixture;
using qeltest::RecordingScriptHost;

constexpr uint64_t kBit63 = 1ull << 63;

using CorvaneServerTest = ServerFixture;

TEST_F(CorvaneServerTest, consoles_get_ids_501_502_503_with_bit_63_and_a_reconnect_gets_a_new_id)
{
    EXPECT_EQ(Connect("a"), 501 | kBit63);
    EXPECT_EQ(Connect("b"), 502 | kBit63);
    EXPECT_EQ(Connect("c"), 503 | kBit63);
    EXPECT_EQ(server->ClientListAge(), 0);

    server->Tick();
    EXPECT_EQ(server->ClientListAge(), 1);
    QelNetworkClient* first = consoles[0];
    first->Disconnect();
    ASSERT_TRUE(RunFramesUntil([&] { return server->Clients().size() == 2; }));
    EXPECT_EQ(server->FindClient(501 | kBit63), nullptr);
    EXPECT_EQ(server->ClientListAge(), 0);

    ASSERT_TRUE(first->Connect(qel::test::kLoopback));
    ASSERT_TRUE(RunFramesUntil([&] { return server->Clients().size() == 3; }));
    EXPECT_NE(server->FindClient(504 | kBit63), nullptr);
}

TEST_F(CorvaneServerTest, new_console_is_welcomed_with_reset_pause_state_string_map_clear_and_side_tables)
{
    world.paused = true;
    Connect("console");
    QelNetworkClient* console = consoles[0];
    ASSERT_TRUE(RunFramesUntil([&] { return SignalCodes(console).size() >= 4; }));
    EXPECT_EQ(SignalCodes(console), (std::vector<uint16_t>{SIGNAL_MESS_CONNECT_RESET, SIGNAL_MESS_PAUSE_STATE,
                                                           SIGNAL_MESS_STRING_MAP, SIGNAL_MESS_INDEXED_TABLES}));

    PauseStateSignal paused;
    ASSERT_TRUE(nettest::DecodeSignal(received[console][1], paused));
    EXPECT_EQ(paused.paused, 1);

    StringMapSignal entry;
    ASSERT_TRUE(nettest::DecodeSignal(received[console][2], entry));
    EXPECT_EQ(entry.key, "clear");
    EXPECT_EQ(entry.value, "stringmap");
}

TEST_F(CorvaneServerTest, a_connection_waits_on_every_new_client_list_and_a_known_id_changes_nothing)
{
    const uint64_t id = Connect("console");
    ASSERT_TRUE(RunFramesUntil([&] { return SignalCodes(consoles[0]).size() >= 4; }));
    server->Tick();
    for (std::vector<uint64_t>& list : server->newClientLists)
        list.clear();
    server->HandleClientConnect(id);
    server->HandleClientConnect(0);
    server->HandleClientConnect(42);
    EXPECT_EQ(server->Clients().size(), 1u);
    EXPECT_EQ(server->ClientListAge(), 1);
    for (const std::vector<uint64_t>& list : server->newClientLists)
        EXPECT_TRUE(list.empty());

    const uint64_t next = id + 1;
    server->HandleClientConnect(next);
    for (const std::vector<uint64_t>& list : server->newClientLists)
        EXPECT_EQ(list, std::vector<uint64_t>{next});
}

// Runs ticks up to and including the next time-out check.
void TickThroughCheck(CorvaneServer& server)
{
    for (int32_t i = 0; i <= CorvaneServer::kTimeoutCheckTicks; ++i)
        server.Tick();
}

TEST_F(CorvaneServerTest, heartbeats_keep_a_console_and_silence_drops_and_disconnects_it_at_the_31st_check)
{
    const uint64_t beating = Connect("beating");
    const uint64_t silent = Connect("silent");
    QelNetworkClient* beatingConsole = consoles[0];
    QelNetworkClient* silentConsole = consoles[1];

    for (int32_t check = 1; check <= CorvaneServer::kMaxIdleChecks; ++check) {
        TickThroughCheck(*server);
        ASSERT_EQ(server->FindClient(silent)->idleCount, check);
        ASSERT_EQ(server->FindClient(beating)->idleCount, 1);
        SendSignal(beatingConsole, HeartbeatSignal{});
        ASSERT_TRUE(RunFramesUntil([&] { return server->FindClient(beating)->idleCount == 0; }));
    }
    ASSERT_NE(server->FindClient(silent), nullptr);
    EXPECT_GT(server->ClientListAge(), 0);

    TickThroughCheck(*server);
    EXPECT_EQ(server->FindClient(silent), nullptr);
    EXPECT_NE(server->FindClient(beating), nullptr);
    EXPECT_EQ(server->ClientListAge(), 0);
    // The dropped console is told, so it does not talk on to a deaf server.
    EXPECT_TRUE(RunFramesUntil([&] { return !silentConsole->IsConnected(); }));
    EXPECT_TRUE(beatingConsole->IsConnected());
}

TEST_F(CorvaneServerTest, client_list_age_stops_at_its_cap)
{
    for (int32_t i = 0; i < CorvaneServer::kClientListAgeCap + 5; ++i)
        server->Tick();
    EXPECT_EQ(server->ClientListAge(), CorvaneServer::kClientListAgeCap);
}

TEST_F(CorvaneServerTest, beam_reaches_every_console_and_the_servers_own_world)
{
    Connect("a");
    Connect("b");
    const uint64_t shooter = kSpaceObjectIdBit | 4, target = kSpaceObjectIdBit | 5;
    server->SendBeam("beam", "Tern", "meridian", shooter, target, {1.0f, 0.5f, 0.0f}, {0.0f, 2.0f, 9.0f}, 3);
    ASSERT_EQ(world.effectEvents.size(), 1u);
    EXPECT_EQ(world.effectEvents[0].kind, "beam");

    auto beamsOf = [&](QelNetworkClient* console) {
        int count = 0;
        for (const nettest::Received& r : received[console])
            count += r.key == HashMessageName("beam");
        return count;
    };
    ASSERT_TRUE(RunFramesUntil([&] { return beamsOf(consoles[0]) == 1 && beamsOf(consoles[1]) == 1; }));
    for (const nettest::Received& r : received[consoles[1]]) {
        if (r.key != HashMessageName("beam"))
            continue;
        QelNetworkMessage m;
        m.WriteBytes(r.bytes.data(), static_cast<int32_t>(r.bytes.size()));
        m.readIndex = 8;
        BeamMessage beam;
        ASSERT_TRUE(ReadBeamMessage(m, beam));
        EXPECT_EQ(beam.secondText, "Tern");
        EXPECT_EQ(beam.thirdText, "meridian");
        EXPECT_EQ(beam.firstId, shooter);
        EXPECT_EQ(beam.secondId, target);
        EXPECT_EQ(beam.secondPoint.z, 9.0f);
        EXPECT_EQ(beam.value, 3);
        EXPECT_EQ(m.BytesLeftToRead(), 0);
    }
}

// An object in space and one on standby die alike: the consoles are told,
// the mission hears "destroyed", and the object is gone from both places.
TEST_F(CorvaneServerTest, pending_destroy_tells_consoles_raises_destroyed_and_deletes_only_known_objects)
{
    struct : ScriptEventSink {
        void HandleEvent(const EventMessage& event) override { events.push_back(event); }
        void QueueEvent(const EventMessage&) override {}
        std::vector<EventMessage> events;
    } mission;
    world.SetScriptEventSink(&mission);
    Connect("console");
    const uint64_t doomed = world.CreateSpaceObject("", "", 0);
    const uint64_t resting = world.CreateSpaceObject("", "", 0);
    ASSERT_NE(doomed, 0u);
    world.Container()->PushToStandby(world.GetSpaceObject(resting));
    ASSERT_NE(world.Container()->FindInStandby(resting), nullptr);
    server->QueueDestroy(kSpaceObjectIdBit | 9999);  // known nowhere: nothing is sent
    server->QueueDestroy(doomed);
    server->QueueDestroy(resting);
    ASSERT_TRUE(RunFramesUntil([&] {
        const std::vector<uint16_t> codes = SignalCodes(consoles[0]);
        return std::count(codes.begin(), codes.end(), SIGNAL_MESS_OBJECT_REMOVED) >= 2;
    }));
    EXPECT_FALSE(world.SpaceObjectExists(doomed));
    EXPECT_EQ(world.Container()->FindInStandby(resting), nullptr);
    EXPECT_TRUE(server->pendingDestroys.empty());
    const uint64_t dead[] = {doomed, resting};
    ASSERT_EQ(mission.events.size(), std::size(dead));
    for (size_t i = 0; i < std::size(dead); ++i) {
        EXPECT_EQ(mission.events[i].tag, "damage");
        EXPECT_EQ(mission.events[i].sub_tag, "destroyed");
        EXPECT_EQ(mission.events[i].selected_id, dead[i]);
    }
    world.SetScriptEventSink(nullptr);
    std::vector<uint64_t> removed;
    for (const nettest::Received& r : received[consoles[0]]) {
        if (r.code != SIGNAL_MESS_OBJECT_REMOVED)
            continue;
        ObjectRemovedSignal gone;
        ASSERT_TRUE(nettest::DecodeSignal(r, gone));
        removed.push_back(gone.objectId);
    }
    EXPECT_EQ(removed, std::vector<uint64_t>(std::begin(dead), std::end(dead)));
}

// What a careless or hostile peer might send: cut-off signals, codes outside
// the table, ids of the wrong kind, random bytes under real keys, and packets
// too large for any message.
std::vector<std::vector<uint8_t>> HostileMessages()
{
    std::vector<std::vector<uint8_t>> messages;
    auto keyed = [](uint64_t key, std::vector<uint8_t> tail) {
        std::vector<uint8_t> bytes(8);
        for (int i = 0; i < 8; ++i)
            bytes[i] = static_cast<uint8_t>(key >> (8 * i));
        bytes.insert(bytes.end(), tail.begin(), tail.end());
        return bytes;
    };
    const uint64_t signal = HashMessageName("signal");
    messages.push_back({});
    messages.push_back({1, 2, 3});
    messages.push_back(keyed(signal, {}));
    messages.push_back(keyed(signal, {4}));
    messages.push_back(keyed(signal, {102, 0, 1}));
    messages.push_back(keyed(signal, {0xFF, 0xFF}));
    messages.push_back(keyed(signal, {106, 0}));
    messages.push_back(keyed(signal, {3, 0, 1, 2, 3, 4, 5, 6, 7, 0x80}));  // a client id in a request
    messages.push_back(keyed(0, {}));  // connection events in disguise
    messages.push_back(keyed(1, {9, 9}));
    messages.push_back(keyed(2, {}));
    messages.push_back(keyed(HashMessageName("testValueToServer"), {1}));
    const uint64_t keys[] = {signal, HashMessageName("beam"), HashMessageName("nosuchmessage"), 7};
    csrand(2024);
    constexpr int kRandomMessages = 200;
    for (int i = 0; i < kRandomMessages; ++i) {
        std::vector<uint8_t> tail(static_cast<size_t>(crand() % 64));
        for (uint8_t& b : tail)
            b = static_cast<uint8_t>(crand());
        if (crand() % 2 == 0 && tail.size() >= 2)
            tail[0] = static_cast<uint8_t>(crand() % 110), tail[1] = 0;  // a plausible code
        messages.push_back(keyed(keys[crand() % 4], tail));
    }
    return messages;
}

TEST_F(CorvaneServerTest, hostile_messages_are_survived_and_a_well_behaved_console_is_still_served)
{
    const uint64_t hostileId = Connect("hostile");
    // A bare ENet peer, since the client endpoint refuses to build what does
    // not fit a message.
    ENetHost* rogue = enet_host_create(nullptr, 1, 0, 0, 0);
    ASSERT_NE(rogue, nullptr);
    ENetAddress address{};
    enet_address_set_host_ip(&address, qel::test::kLoopback);
    address.port = port;
    ENetPeer* rogueServer = enet_host_connect(rogue, &address, 2, 0);
    auto serviceRogue = [&] {
        ENetEvent event;
        while (enet_host_service(rogue, &event, 0) > 0)
            if (event.type == ENET_EVENT_TYPE_RECEIVE)
                enet_packet_destroy(event.packet);
    };
    ASSERT_TRUE(RunFramesUntil([&] {
        serviceRogue();
        return server->Clients().size() == 2;
    }));

    const std::vector<std::vector<uint8_t>> hostile = HostileMessages();
    for (const std::vector<uint8_t>& bytes : hostile) {
        QelNetworkMessage m;
        m.WriteBytes(bytes.data(), static_cast<int32_t>(bytes.size()));
        ASSERT_TRUE(consoles[0]->Send(m));
        enet_peer_send(rogueServer, 0, enet_packet_create(bytes.data(), bytes.size(), ENET_PACKET_FLAG_RELIABLE));
    }
    std::vector<uint8_t> huge(QelNetworkMessage::kMessageBufferSize + 1, 0x5A);
    enet_peer_send(rogueServer, 0, enet_packet_create(huge.data(), huge.size(), ENET_PACKET_FLAG_RELIABLE));
    // A last heartbeat from each marks the end of what they sent.
    SendSignal(consoles[0], HeartbeatSignal{});
    TickThroughCheck(*server);
    ASSERT_TRUE(RunFramesUntil([&] {
        serviceRogue();
        const ClientRecord* record = server->FindClient(hostileId);
        return record && record->idleCount == 0;
    }));
    const DroppedMessageCounts& dropped = server->DroppedMessages();
    EXPECT_GT(dropped.tooShort, 0u);
    EXPECT_GT(dropped.unknownKey, 0u);
    EXPECT_GT(dropped.malformed, 0u);

    const uint64_t good = Connect("good");
    EXPECT_NE(server->FindClient(good), nullptr);
    QelNetworkClient* goodConsole = consoles.back();
    ASSERT_TRUE(RunFramesUntil([&] {
        serviceRogue();
        return SignalCodes(goodConsole).size() >= 3;
    }));
    EXPECT_EQ(SignalCodes(goodConsole)[0], SIGNAL_MESS_CONNECT_RESET);

    enet_peer_reset(rogueServer);
    enet_host_destroy(rogue);
}

// A port another program holds is named with the system's reason, and the
// next start, once the port is free, opens it after all.
TEST_F(CorvaneServerTest, a_port_in_use_is_named_and_hosting_again_opens_it_once_free)
{
    server.reset();
    factory.DestroyServer("server");
    const int holder = socket(AF_INET, SOCK_DGRAM, 0);
    ASSERT_GE(holder, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_ANY);
    socklen_t length = sizeof address;
    ASSERT_EQ(bind(holder, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    ASSERT_EQ(getsockname(holder, reinterpret_cast<sockaddr*>(&address), &length), 0);
    CorvaneServer::Settings settings;
    settings.port = ntohs(address.sin_port);

    server = std::make_unique<CorvaneServer>(settings);
    gServer = server.get();
    server->SetWorld(&world);
    ::testing::internal::CaptureStderr();
    server->StartHosting();
    const std::string logged = ::testing::internal::GetCapturedStderr();
    const std::string failure =
        "UDP port " + std::to_string(settings.port) + " could not be opened: Address already in use";
    EXPECT_TRUE(server->IsNetworkDown());
    EXPECT_EQ(server->HostingFailure(), failure);
    EXPECT_EQ(logged, "server: " + failure + "; consoles cannot connect\n");

    close(holder);
    server->StartHosting();
    EXPECT_FALSE(server->IsNetworkDown());
    EXPECT_EQ(server->HostingFailure(), "");
    EXPECT_EQ(server->Port(), settings.port);
}

TEST_F(CorvaneServerTest, stopped_server_sends_nothing_and_hosting_again_serves_consoles)
{
    qel::ManualClock clock(5000);  // every count lands in one bucket
    Connect("console");
    QelNetworkClient* console = consoles[0];
    ASSERT_TRUE(RunFramesUntil([&] { return SignalCodes(console).size() >= 3; }));

    server->StopHosting();
    EXPECT_FALSE(server->IsHosting());
    auto sentPackets = [] {
        PerSecondCounterMap& counters = PerSecondCounterMap::Instance();
        std::lock_guard<std::mutex> lock(counters.Mutex());
        const PerSecondCounter& c = counters.GetCounter("server send packets/sec");
        return c.buckets[c.currentIndex];
    };
    const float before = sentPackets();
    server->SendBeam("nuke", "", "", 0, 0, {}, {}, 0);
    server->SendToAll(ServerOutgoingMessage(), CorvaneServer::kReliable);
    server->FrameUpdate();
    server->Tick();
    EXPECT_EQ(sentPackets(), before);

    server->StartHosting();
    EXPECT_TRUE(server->IsHosting());
    EXPECT_EQ(server->Port(), port);
    Connect("second");
    ASSERT_TRUE(RunFramesUntil([&] { return SignalCodes(consoles[1]).size() >= 3; }));
    EXPECT_GT(sentPackets(), before);
    // The first console's messages are dispatched again too.
    TickThroughCheck(*server);
    SendSignal(console, HeartbeatSignal{});
    const uint64_t firstId = 501 | kBit63;
    EXPECT_TRUE(RunFramesUntil([&] { return server->FindClient(firstId)->idleCount == 0; }));
}

// Ticks the world and the server together, as the frame loop does.
void TickBoth(Simulation& world, CorvaneServer& server, int ticks)
{
    for (int i = 0; i < ticks; ++i) {
        ++world.clock.time_tick_counter;
        server.Tick();
    }
}

TEST_F(CorvaneServerTest, mission_tick_comes_every_delay_plus_one_ticks_and_a_delay_of_0_keeps_30)
{
    struct Case {
        int32_t delay;
        int32_t expectedDelay;
    };
    for (const Case c : {Case{5, 5}, Case{0, 30}, Case{-3, 30}}) {
        CorvaneServer::Settings settings;
        settings.scriptTickDelay = c.delay;
        MakeServer(settings);
        EXPECT_EQ(server->ScriptTickDelay(), c.expectedDelay);
        RecordingScriptHost host;
        server->SetScriptHost(&host);
        world.clock.time_tick_counter = 0;
        TickBoth(world, *server, 3 * (c.expectedDelay + 1));
        const int64_t period = c.expectedDelay + 1;
        EXPECT_EQ(host.MissionTickTimes(), (std::vector<int64_t>{period, 2 * period, 3 * period})) << c.delay;
        EXPECT_EQ(host.queueRuns, 3 * period);
        EXPECT_EQ(host.dmxRuns, 3);
        server->SetScriptHost(nullptr);
    }
}

TEST_F(CorvaneServerTest, mission_tick_says_paused_passes_the_window_and_is_followed_by_debug_trees)
{
    RecordingScriptHost host;
    host.running = false;
    host.trees = {"first", "second"};
    server->SetScriptHost(&host);
    server->SetWindowSize(1024.0f, 768.0f);
    TickBoth(world, *server, CorvaneServer::kDefaultScriptTickDelay + 1);
    ASSERT_EQ(host.events.size(), 3u);
    EXPECT_EQ(host.events[0].tag, "mission_tick");
    EXPECT_EQ(host.events[0].sub_tag, "sim_paused");
    EXPECT_EQ(host.events[0].source_point.x, 1024.0f);
    EXPECT_EQ(host.events[0].source_point.y, 768.0f);
    EXPECT_EQ(host.events[1].tag, "debug_rgui_tree");
    EXPECT_EQ(host.events[1].sub_tag, "first");
    EXPECT_EQ(host.events[2].sub_tag, "second");
    EXPECT_TRUE(host.trees.empty());

    // Without loaded scripts only the lighting step runs.
    host.loaded = false;
    host.events.clear();
    TickBoth(world, *server, CorvaneServer::kDefaultScriptTickDelay + 1);
    EXPECT_TRUE(host.events.empty());
    EXPECT_EQ(host.dmxRuns, 2);
    server->SetScriptHost(nullptr);
}

TEST_F(CorvaneServerTest, connecting_console_raises_client_connect_for_the_mission)
{
    RecordingScriptHost host;
    server->SetScriptHost(&host);
    const uint64_t id = Connect("console");
    ASSERT_EQ(host.events.size(), 1u);
    EXPECT_EQ(host.events[0].tag, "client_connect");
    EXPECT_EQ(host.events[0].client_id, id);
    server->SongEnded(id);
    ASSERT_EQ(host.events.size(), 2u);
    EXPECT_EQ(host.events[1].tag, "song_ended");
    server->SetScriptHost(nullptr);
}

// The key of the last ping a console received, or 0.
int32_t LastPingKey(const std::vector<nettest::Received>& received)
{
    int32_t key = 0;
    for (const nettest::Received& r : received) {
        if (r.code != SIGNAL_MESS_PING)
            continue;
        PingSignal ping;
        EXPECT_TRUE(nettest::DecodeSignal(r, ping));
        key = ping.key;
    }
    return key;
}

TEST_F(CorvaneServerTest, ping_pass_gives_each_console_its_own_key_and_an_echo_updates_its_ping)
{
    qel::ManualClock clock(10000);
    const uint64_t ids[3] = {Connect("a"), Connect("b"), Connect("c")};
    const int32_t before = LastPingKey(received[consoles[0]]);
    world.clock.time_tick_counter += CorvaneServer::kPingIntervalTicks;
    ASSERT_TRUE(RunFramesUntil([&] {
        for (QelNetworkClient* console : consoles)
            if (LastPingKey(received[console]) <= before)
                return false;
        return true;
    }));
    const int32_t keys[3] = {LastPingKey(received[consoles[0]]), LastPingKey(received[consoles[1]]),
                             LastPingKey(received[consoles[2]])};
    EXPECT_EQ(keys[1], keys[0] + 1);
    EXPECT_EQ(keys[2], keys[0] + 2);

    clock.Advance(110);
    SendSignal(consoles[1], PingSignal{keys[1]});
    ASSERT_TRUE(RunFramesUntil([&] { return server->FindClient(ids[1])->ping > 0.0f; }));
    EXPECT_FLOAT_EQ(server->FindClient(ids[1])->ping, 10.0f);  // (0 x 10 + 110) / 11
    EXPECT_EQ(server->FindClient(ids[0])->ping, 0.0f);
}

TEST_F(CorvaneServerTest, a_ships_notices_reach_its_own_consoles_only_as_valid_signals)
{
    const uint64_t crewed = Connect("crew");
    const uint64_t other = Connect("other");
    const uint64_t ship = kSpaceObjectIdBit | 4;
    server->FindClient(crewed)->shipId = ship;
    server->FindClient(other)->shipId = kSpaceObjectIdBit | 5;

    server->DamageFlash(ship, 7.5f);
    server->DamageFlash(ship, std::numeric_limits<float>::quiet_NaN());  // flashes nothing rather than garbage
    server->JumpCountdown(ship, 3);
    server->JumpArrived(ship, 1200, 6);

    auto noticesOf = [&](QelNetworkClient* console) {
        std::vector<const nettest::Received*> notices;
        for (const nettest::Received& r : received[console])
            if (r.code == SIGNAL_DAMAGE_AMOUNT || r.code == SIGNAL_MESS_JUMP_TIME || r.code == SIGNAL_MESS_JUMP)
                notices.push_back(&r);
        return notices;
    };
    ASSERT_TRUE(RunFramesUntil([&] { return noticesOf(consoles[0]).size() == 4; }));
    const std::vector<const nettest::Received*> notices = noticesOf(consoles[0]);
    DamageAmountSignal damage;
    ASSERT_TRUE(nettest::DecodeSignal(*notices[0], damage));
    EXPECT_FLOAT_EQ(damage.damage, 7.5f);
    ASSERT_TRUE(nettest::DecodeSignal(*notices[1], damage));
    EXPECT_FLOAT_EQ(damage.damage, 0.0f);
    JumpTimeSignal countdown;
    ASSERT_TRUE(nettest::DecodeSignal(*notices[2], countdown));
    EXPECT_EQ(countdown.seconds, 3);
    JumpEffectSignal arrival;
    ASSERT_TRUE(nettest::DecodeSignal(*notices[3], arrival));
    EXPECT_EQ(arrival.tick, 1200);
    EXPECT_EQ(arrival.effectSeconds, 6u);
    EXPECT_TRUE(noticesOf(consoles[1]).empty());
}

}  // namespace
