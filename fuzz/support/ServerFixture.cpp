#include "fuzz/support/ServerFixture.h"

#include "fuzz/support/FuzzFrames.h"
#include "fuzz/support/FuzzNetwork.h"
#include "fuzz/support/FuzzWorld.h"
#include "game/net/MessageHooks.h"

namespace {

// Enough ticks after the input for a helm setting to move its ship and for
// the slower replication passes to run once.
constexpr int kSettlingTicks = 3;

}  // namespace

ServerFixture::ServerFixture() : world(FreshFuzzWorld(true)), feed("server", CallServerHook)
{
    world.SetScriptEventSink(&mission);

    FuzzNetwork& network = FuzzNetwork::Instance();
    server = std::make_unique<CorvaneServer>(CorvaneServer::Settings{});
    gServer = server.get();
    server->SetWorld(&world);
    server->SetScriptHost(&mission);
    world.SetPendingDestroySink(server.get());
    world.SetScienceScanSink(server.get());
    network.server.down = true;
    server->StartHosting();
    network.server.down = false;

    const FuzzScene scene = PopulateFuzzWorld(world);
    for (int console = 0; console < 3; ++console)
        server->HandleClientConnect(kSenders[console]);
    server->FindClient(kSenders[0])->shipId = scene.firstShip;
    server->FindClient(kSenders[1])->shipId = scene.secondShip;
    Step(0);
}

ServerFixture::~ServerFixture()
{
    world.SetPendingDestroySink(nullptr);
    world.SetScienceScanSink(nullptr);
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
