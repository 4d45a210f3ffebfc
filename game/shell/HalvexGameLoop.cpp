#include "game/shell/HalvexGameLoop.h"

#include "game/world/AppData.h"
#include "helper/GeneralUtils.h"

// The singletons these steps drive arrive one by one; each step below names
// the call it will make, so the order stays where it is decided.

void HalvexGameLoop::Startup()
{
    GeneralUtilsSelfTest();
    // Hot keys and style strings (interface toolkit) load here.
    AppData::Load();
    // Then the box layout, and the client, the server, the RenderManager and
    // the Simulation, in that order (game start-up).
}

void HalvexGameLoop::SceneFrameUpdate()
{
    // RenderManager::FrameUpdate: the current scene's input step (scene rendering).
}

void HalvexGameLoop::SimulationFrameUpdate()
{
    // Simulation::FrameUpdate (world model).
}

void HalvexGameLoop::ServerFrameUpdate()
{
    // CorvaneServer::FrameUpdate (networking).
}

void HalvexGameLoop::ClientFrameUpdate()
{
    // CorvaneClient::FrameUpdate (networking).
}

void HalvexGameLoop::SimulationTick(uint32_t)
{
    // Simulation::Tick with the step (world model).
}

void HalvexGameLoop::SceneTick()
{
    // RenderManager::SimTick: the scene's tick step (scene rendering).
}

void HalvexGameLoop::ServerTick()
{
    // CorvaneServer::Tick (networking).
}

void HalvexGameLoop::ClientTick()
{
    // CorvaneClient::Tick (networking).
}

void HalvexGameLoop::Draw()
{
    // RenderManager::Draw: the scene's draw, then overlays (scene rendering).
}

void HalvexGameLoop::DeleteSingletons()
{
    // Delete and clear, each only if it exists, in this order:
    // RenderManager, Simulation, CorvaneServer, CorvaneClient.
}
