#include "fuzz/support/ClientFixture.h"

#include "engine/base/PerSecondCounterMap.h"
#include "fuzz/support/FuzzFrames.h"
#include "fuzz/support/FuzzNetwork.h"
#include "fuzz/support/FuzzWorld.h"
#include "game/net/ConsoleScreen.h"
#include "game/net/CorvaneClient.h"
#include "game/net/MessageHooks.h"
#include "game/world/ServerStringMap.h"

#include <cstdlib>

namespace {

constexpr int kSettlingTicks = 3;
// The console forgets a contact this long after its last update, as the
// shipped preferences say.
constexpr int32_t kContactDecayTicks = 300;

CorvaneClient* processClient = nullptr;
// The console's screen, whose script screens and story dialogs the signals fill.
ConsoleScreen processScreen;

// Its receive thread counts what it receives in the per-second counters:
// it must end before they do.
void DeleteProcessClient()
{
    delete processClient;
    processClient = nullptr;
}

// The client starts a receive thread when it is made, which is far too slow
// to do for every input: one serves the whole run, and goes at exit.
CorvaneClient& ProcessClient()
{
    if (!processClient) {
        FuzzNetwork::Instance();
        PerSecondCounterMap::Instance();
        CorvaneClient::Settings settings;
        settings.contactDecayDelay = kContactDecayTicks;
        settings.machineName = "fuzz console";
        processClient = new CorvaneClient(settings);
        RouteConsoleCommands(processClient);
        processClient->SetConsoleScreen(&processScreen);
        std::atexit(DeleteProcessClient);
    }
    return *processClient;
}

}  // namespace

ClientFixture::ClientFixture()
    : world(FreshFuzzWorld(false)), client(ProcessClient()),
      feed("client", [](uint64_t key, QelNetworkMessage& message) {
          return CallClientHook(key, message, &ProcessClient());
      })
{
    client.SetWorld(&world);
    client.stringMap.clear();
    client.saveCountdown = 0;
    ServerStringMap::Instance().Clear();
    // A cleared and completed root leaves the console's script screens empty.
    processScreen.RetainedGUI().SetBuilding(true, "");
    processScreen.RetainedGUI().SetBuilding(false, "");
    world.subjectID = PopulateFuzzWorld(world).firstShip;
    Step(0);
}

ClientFixture::~ClientFixture()
{
    world.Clear();
}

void ClientFixture::Run(const uint8_t* data, size_t size, std::span<const uint8_t> prefix)
{
    FuzzFrameReader frames(data, size);
    FuzzFrame frame;
    while (frames.Next(frame)) {
        feed.Deliver(prefix, frame.bytes, 0);
        Step(frame.ticks);
    }
    Step(kSettlingTicks);
}

void ClientFixture::Step(int ticks)
{
    world.FrameUpdate();
    client.FrameUpdate();
    for (int i = 0; i < ticks; ++i) {
        world.Tick();
        client.Tick();
    }
    CheckWorldIsSound(world);
}
