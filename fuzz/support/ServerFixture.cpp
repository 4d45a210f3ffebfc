#include "fuzz/support/ServerFixture.h"

#include "fuzz/support/FuzzFrames.h"
#include "fuzz/support/FuzzNetwork.h"
#include "fuzz/support/FuzzProcess.h"
#include "fuzz/support/WorldChecks.h"
#include "game/net/MessageHooks.h"

namespace {

// Enough ticks after the input for a helm setting to move its ship and for
// the slower replication passes to run once.
constexpr int kSettlingTicks = 3;

void PlaceAt(Simulation& world, uint64_t id, float x, float z)
{
    if (SpaceObject* object = world.GetSpaceObject(id))
        world.RepositionSpaceObject(object, x, 0.0f, z);
}

}  // namespace

ServerFixture::ServerFixture() : world(FreshFuzzWorld(true)), feed("server", CallServerHook)
{
    world.SetScriptEventSink(&mission);

    FuzzNetwork& network = FuzzNetwork::Instance();
    server = std::make_unique<CorvaneServer>(CorvaneServer::Settings{});
    gServer = server.get();
    server->SetScriptHost(&mission);
    world.SetPendingDestroySink(server.get());
    network.server.down = true;
    server->StartHosting();
    network.server.down = false;

    const uint64_t helmShip = world.CreateSpaceObject("behav_playership", "tern_frigate", 0);
    const uint64_t otherShip = world.CreateSpaceObject("behav_playership", "kestrel_fighter", 0);
    const uint64_t station = world.CreateSpaceObject("behav_station", "starbase_civil", SpaceObject::kStaticBit);
    const uint64_t raider = world.CreateSpaceObject("behav_npcship", "skarn_raider", 0);
    PlaceAt(world, otherShip, 400.0f, 0.0f);
    PlaceAt(world, station, -2000.0f, 3000.0f);
    PlaceAt(world, raider, 5000.0f, -800.0f);
    for (int console = 0; console < 3; ++console)
        server->HandleClientConnect(kSenders[console]);
    server->FindClient(kSenders[0])->shipId = helmShip;
    server->FindClient(kSenders[1])->shipId = otherShip;
    Step(0);
}

ServerFixture::~ServerFixture()
{
    world.SetPendingDestroySink(nullptr);
    world.SetScriptEventSink(nullptr);
    server.reset();
    gServer = nullptr;
    world.Clear();
}

void ServerFixture::Run(const uint8_t* data, size_t size, std::span<const uint8_t> prefix)
{
    FuzzFrameReader frames(data, size);
    FuzzFrame frame;
    while (frames.Next(frame)) {
        feed.Deliver(prefix, frame.bytes, kSenders[frame.sender]);
        Step(frame.ticks);
    }
    Step(kSettlingTicks);
}

// One frame of the game's loop, as far as the world and the server go.
void ServerFixture::Step(int ticks)
{
    world.FrameUpdate();
    server->FrameUpdate();
    for (int i = 0; i < ticks; ++i) {
        world.Tick();
        server->Tick();
    }
    CheckWorldIsSound(world);
}
