#include "tools/halvex-server/HarnessGameLoop.h"

#include "game/net/CorvaneServer.h"
#include "game/script/MissionScript.h"
#include "game/shell/MissionStart.h"
#include "game/world/HullPathSets.h"
#include "game/world/Simulation.h"

#include <cstdio>
#include <stdexcept>
#include <utility>

namespace {

// The harness never answers consoles searching the local network: tests and
// benchmarks keep their traffic on the port they were given. Nor does it
// take over a USB-DMX interface that a game on the same machine may drive.
HalvexGameLoop::Options HarnessGameOptions(uint16_t port)
{
    HalvexGameLoop::Options options;
    options.serverPort = port;
    options.lanDiscovery = false;
    options.dmxOutput = false;
    return options;
}

}  // namespace

HarnessGameLoop::HarnessGameLoop(uint16_t port, HostedMission hosted, std::optional<int64_t> limit)
    : game(HarnessGameOptions(port)), mission(std::move(hosted)), tickLimit(limit)
{
}

void HarnessGameLoop::Startup()
{
    game.Startup();
    SetHullSilhouetteSource(&hullSilhouettes);
    theMissionScript.SetServerScreen(&serverScreen);
    gServer->StartHosting();
    if (gServer->IsNetworkDown())
        throw std::runtime_error("could not host: " + gServer->HostingFailure() +
                                 " (choose another port with --port, 0 for any free one)");
    StartMission();
    std::printf("listening on port %u\n", static_cast<unsigned>(gServer->Port()));
    std::fflush(stdout);
}

void HarnessGameLoop::DeleteSingletons()
{
    game.DeleteSingletons();
    SetHullSilhouetteSource(nullptr);
    theMissionScript.SetServerScreen(nullptr);
}

void HarnessGameLoop::SceneFrameUpdate()
{
    game.SceneFrameUpdate();
    if (std::optional<std::string> next = TakeNextMission()) {
        mission.name = std::move(*next);
        mission.folder.reset();
        StartMission();
    }
}

void HarnessGameLoop::StartMission()
{
    try {
        StartMissionWith([this] {
            if (mission.folder)
                theMissionScript.StartFolder(*mission.folder);
            else
                theMissionScript.Start(mission.name);
        });
    } catch (const ScriptError& error) {
        throw std::runtime_error("mission \"" + mission.name + "\" could not start: " + error.what());
    }
}

void HarnessGameLoop::SimulationTick(uint32_t stepMilliseconds)
{
    skippingTick = ReachedTickLimit();
    if (skippingTick)
        return;
    ++ticksRun;
    game.SimulationTick(stepMilliseconds);
}

void HarnessGameLoop::SceneTick()
{
    if (skippingTick)
        return;
    game.SceneTick();
    serverScreen.Tick(game.World());
}

void HarnessGameLoop::ServerTick()
{
    if (!skippingTick)
        game.ServerTick();
}

void HarnessGameLoop::ClientTick()
{
    if (!skippingTick)
        game.ClientTick();
}
