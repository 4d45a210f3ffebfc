// Replication cost as the server's own counters see it: the bytes a hosting
// server sends each console each second, and the server's frame update (its
// dispatch and every replication pass) per frame. Worlds of 100, 1,000 and
// 5,000 objects, half of them static and half moving, around the ships of
// consoles connected over loopback ENet: one console, then 1, 16 and 64
// consoles on the largest world, each crewing a ship of its own (the costly
// case: every pass serves each ship apart).
//
// Game time runs on a hand-driven engine clock, 33 ms a frame with one tick
// each, so the per-second counters count seconds of play; the reported time
// is that of the server's frame update alone. The server's receive thread,
// which services the host and so puts the queued packets on the wire, is
// reported apart as the process's CPU time beyond the main thread's.

#include "engine/base/PerSecondCounterMap.h"
#include "engine/base/QelClock.h"
#include "engine/net/QelEnetNetworkFactoryBase.h"
#include "game/behaviours/SpaceObjectAI.h"
#include "game/net/ClientRecord.h"
#include "game/net/CorvaneServer.h"
#include "game/world/AppData.h"
#include "game/world/Simulation.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <ctime>
#include <memory>
#include <random>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

namespace {

// Objects spread over a square sector around the ship of twice the vision
// distance each way, so that part of them is in sight of the console.
constexpr float kVisionDistance = 10000.0f;
constexpr float kSectorHalfSize = 2.0f * kVisionDistance;
constexpr float kMaxSpeed = 20.0f;  // units per tick
constexpr float kTwoPi = 6.2831853f;
constexpr uint16_t kStaticBit = 1;
constexpr uint32_t kFrameMilliseconds = 33;
// Frames played before measuring, so every pass has run at least once.
constexpr int kWarmUpFrames = 300;
// The counter's bucket of the current second is still filling.
constexpr int kCompleteSecondsRead = 30;
// Bounds the wait for the consoles' connections; only a broken run reaches it.
constexpr int kMaxConnectRounds = 5000;

// The per-console byte counter the server's transport keeps for each
// recipient, named by the low bits of its id as the transport names it.
std::string ConsoleByteCounterName(uint64_t clientId)
{
    constexpr uint64_t kClientCounterMask = 0xFFF;
    return std::to_string(clientId & kClientCounterMask) + "bps";
}

// Mean of the last complete seconds of a counter.
double RecentPerSecond(const std::string& name, int seconds)
{
    PerSecondCounterMap& counters = PerSecondCounterMap::Instance();
    std::lock_guard<std::mutex> lock(counters.Mutex());
    const PerSecondCounter& counter = counters.GetCounter(name);
    double total = 0.0;
    for (int back = 1; back <= seconds; ++back)
        total += counter.buckets[(counter.currentIndex - back + PerSecondCounter::kBucketCount) %
                                 PerSecondCounter::kBucketCount];
    return total / seconds;
}

// CPU seconds the clock has counted.
double CpuSeconds(clockid_t clock)
{
    timespec now{};
    clock_gettime(clock, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

// A hosting server, its world and connected consoles, each crewing a ship of
// its own: the first at the centre, the others spread over the sector.
class ReplicationScene {
public:
    ReplicationScene(int objectCount, int consoleCount) : clock(1000)
    {
        AppData::Load();
        RegisterBehaviourHooks();
        gNetworkFactory = &factory;
        world = std::make_unique<Simulation>();
        world->Reset(true, "");
        world->paused = false;
        CorvaneServer::Settings settings;
        settings.visionBaseDistance = kVisionDistance;
        server = std::make_unique<CorvaneServer>(settings);
        gServer = server.get();
        server->SetWorld(world.get());
        server->StartHosting();
        world->SetPendingDestroySink(server.get());
        CreateShips(consoleCount);
        Populate(objectCount - consoleCount);
        ConnectConsoles();
    }

    ~ReplicationScene()
    {
        server.reset();
        world.reset();
        gNetworkFactory = nullptr;
    }

    // One frame of play with its tick, in the game's order; only the server's
    // frame update is timed.
    double PlayFrame()
    {
        clock.Advance(kFrameMilliseconds);
        world->FrameUpdate();
        const auto start = std::chrono::steady_clock::now();
        server->FrameUpdate();
        const std::chrono::duration<double> spent = std::chrono::steady_clock::now() - start;
        world->Tick();
        server->Tick();
        for (uint64_t clientId : clientIds)
            server->ResetClientIdle(clientId);
        DrainConsoles();
        return spent.count();
    }

    const std::vector<uint64_t>& ClientIds() const { return clientIds; }

private:
    void CreateShips(int count)
    {
        std::mt19937 random(2424);
        std::uniform_real_distribution<float> coordinate(-kSectorHalfSize, kSectorHalfSize);
        for (int i = 0; i < count; ++i) {
            const uint64_t ship = world->CreateSpaceObject("behav_none", "", 0);
            if (i > 0)
                world->RepositionSpaceObject(world->GetSpaceObject(ship), coordinate(random), 0.0f, coordinate(random));
            ships.push_back(ship);
        }
    }

    void Populate(int count)
    {
        std::mt19937 random(4242);
        std::uniform_real_distribution<float> coordinate(-kSectorHalfSize, kSectorHalfSize);
        std::uniform_real_distribution<float> speed(0.0f, kMaxSpeed);
        std::uniform_real_distribution<float> heading(0.0f, kTwoPi);
        for (int i = 0; i < count; ++i) {
            const bool moving = i % 2 == 0;
            SpaceObject* object =
                world->GetSpaceObject(world->CreateSpaceObject("behav_none", "", moving ? 0 : kStaticBit));
            if (moving) {
                object->cur_speed = speed(random);
                object->steer_yaw = 0.001f;
                object->rot_quat = glm::angleAxis(heading(random), glm::vec3(0.0f, 1.0f, 0.0f));
            }
            world->RepositionSpaceObject(object, coordinate(random), 0.0f, coordinate(random));
        }
        world->FrameUpdate();
    }

    void ConnectConsoles()
    {
        for (size_t i = 0; i < ships.size(); ++i) {
            consoles.push_back(factory.GetClient("bench console " + std::to_string(i), server->Port()));
            if (!consoles.back()->Connect("127.0.0.1"))
                throw std::runtime_error("a bench console could not start connecting");
        }
        for (int round = 0; round < kMaxConnectRounds && server->Clients().size() < ships.size(); ++round) {
            DrainConsoles();
            server->FrameUpdate();
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
        if (server->Clients().size() < ships.size())
            throw std::runtime_error("not every bench console connected");
        size_t shipIndex = 0;
        for (const auto& [clientId, record] : server->Clients()) {
            record->shipId = ships[shipIndex++];
            clientIds.push_back(clientId);
        }
    }

    void DrainConsoles()
    {
        QelNetworkMessage message;
        for (QelNetworkClient* console : consoles)
            while (console->Receive(message)) {
            }
    }

    qel::ManualClock clock;
    QelEnetNetworkFactoryBase factory;
    std::unique_ptr<Simulation> world;
    std::unique_ptr<CorvaneServer> server;
    std::vector<QelNetworkClient*> consoles;
    std::vector<uint64_t> ships;
    std::vector<uint64_t> clientIds;
};

void BM_ServerReplication(benchmark::State& state)
{
    ReplicationScene scene(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
    for (int frame = 0; frame < kWarmUpFrames; ++frame)
        scene.PlayFrame();
    int64_t frames = 0;
    const double processCpuBefore = CpuSeconds(CLOCK_PROCESS_CPUTIME_ID);
    const double mainCpuBefore = CpuSeconds(CLOCK_THREAD_CPUTIME_ID);
    for (auto _ : state) {
        state.SetIterationTime(scene.PlayFrame());
        ++frames;
    }
    const double otherThreadsCpu = (CpuSeconds(CLOCK_PROCESS_CPUTIME_ID) - processCpuBefore) -
                                   (CpuSeconds(CLOCK_THREAD_CPUTIME_ID) - mainCpuBefore);
    // Enough game time for the counters' complete seconds, also when the
    // measurement itself was short.
    const int framesPerSecond = 1000 / kFrameMilliseconds + 1;
    for (int frame = 0; frame < kCompleteSecondsRead * framesPerSecond; ++frame)
        scene.PlayFrame();
    double consoleBytes = 0.0;
    for (uint64_t clientId : scene.ClientIds())
        consoleBytes += RecentPerSecond(ConsoleByteCounterName(clientId), kCompleteSecondsRead);
    state.counters["console_bytes_per_s"] = consoleBytes / static_cast<double>(scene.ClientIds().size());
    state.counters["server_bytes_per_s"] = RecentPerSecond("server send bytes/sec", kCompleteSecondsRead);
    state.counters["server_packets_per_s"] = RecentPerSecond("server send packets/sec", kCompleteSecondsRead);
    state.counters["receive_thread_us_per_frame"] = otherThreadsCpu * 1e6 / static_cast<double>(frames);
    state.counters["frames"] = static_cast<double>(frames);
}
// A fixed number of frames (about 100 s of play): the frame update is short
// beside the world tick around it, which a time-driven run would repeat for
// minutes.
constexpr int kMeasuredFrames = 3000;
constexpr int kLargestWorld = 5000;
BENCHMARK(BM_ServerReplication)
    ->ArgNames({"objects", "consoles"})
    ->Args({100, 1})
    ->Args({1000, 1})
    ->Args({kLargestWorld, 1})
    ->Args({kLargestWorld, 16})
    ->Args({kLargestWorld, 64})
    ->Iterations(kMeasuredFrames)
    ->UseManualTime()
    ->Unit(benchmark::kMicrosecond);

}  // namespace
