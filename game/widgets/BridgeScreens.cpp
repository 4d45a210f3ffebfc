#include "game/widgets/BridgeScreens.h"

#include "game/net/CorvaneClient.h"
#include "game/render/manager/RenderManager.h"
#include "game/script/MissionScript.h"
#include "game/widgets/GUIBoxManager.h"

#include <utility>

BridgeScreens::BridgeScreens(SceneFunction firstScene, std::unique_ptr<SceneState> scenes, const GameNetwork& network)
{
    GUIBoxManager::Load(console.boxEdit);
    if (network.client)
        network.client->SetConsoleScreen(&screen);
    theMissionScript.SetServerScreen(&screen);
    view = std::make_unique<RenderManager>(firstScene, &console, std::move(scenes));
    view->ConnectNetwork(network);
}

BridgeScreens::~BridgeScreens()
{
    view.reset();
    if (&theMissionScript.Screen() == &screen)
        theMissionScript.SetServerScreen(nullptr);
    CorvaneClient* client = console.network.client;
    if (client && client->Screen() == &screen)
        client->SetConsoleScreen(nullptr);
}

void BridgeScreens::Setup()
{
    view->Setup();
}

void BridgeScreens::SetupFirstScreen()
{
    view->SetupFirstScreen();
}

void BridgeScreens::FrameUpdate()
{
    view->FrameUpdate();
}

void BridgeScreens::SimTick()
{
    view->SimTick();
}

void BridgeScreens::Draw()
{
    view->Draw();
}

std::unique_ptr<SceneHost> MakeBridgeScreens(SceneFunction firstScene, std::unique_ptr<SceneState> scenes,
                                             const GameNetwork& network)
{
    return std::make_unique<BridgeScreens>(firstScene, std::move(scenes), network);
}
