#include "game/shell/HalvexGameLoop.h"

// The singletons these steps drive arrive one by one; each step below names
// the call it will make, so the order stays where it is decided.

void HalvexGameLoop::Startup()
{
    // appStartup: self-test, hot keys, style strings, preferences, box layout,
    // then client, server, RenderManager and Simulation (game start-up).
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
