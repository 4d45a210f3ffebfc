#include "game/shell/HalvexGameLoop.h"

#include "engine/base/QelGraphicsFactoryBase.h"
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

// Until the scenes arrive, the window shows the product's name through the
// graphics service, which proves the 2D path from game to screen.
void HalvexGameLoop::Draw()
{
    // RenderManager::Draw: the scene's draw, then overlays (scene rendering).
    if (gGraphicsFactory == nullptr)
        return;
    static const float kWhite[4] = {1.0f, 1.0f, 1.0f, 1.0f};
    static const float kFrame[4] = {0.3f, 0.6f, 1.0f, 1.0f};
    const int width = gGraphicsFactory->GetWidth();
    const int height = gGraphicsFactory->GetHeight();
    if (Qel2dBitmap* white = gGraphicsFactory->Find2DBitmap("smallWhite")) {
        white->SetDestRect(width * 0.25f, height * 0.45f, width * 0.75f, height * 0.55f);
        white->DrawQuad(kFrame, 0, false);
    }
    if (QelBitmapFont* font = gGraphicsFactory->FindFont("DefaultSans", 12)) {
        font->SetTextRect(0, 0, width, height);
        font->DrawTextCentered("Corvane Halvex", kWhite, 1);
    }
}

void HalvexGameLoop::DeleteSingletons()
{
    // Delete and clear, each only if it exists, in this order:
    // RenderManager, Simulation, CorvaneServer, CorvaneClient.
}
