#include "game/widgets/BridgeScreens.h"

#include "game/net/CorvaneClient.h"
#include "game/render/manager/RenderManager.h"
#include "game/script/MissionScript.h"
#include "game/widgets/GUIBoxManager.h"

#include <utility>

BridgeScreens::BridgeScreens(SceneFunction firstScene, std::unique_ptr<SceneState> scenes)
{
    GUIBoxManager::Load(console.boxEdit);
    if (gClient)
        gClient->SetConsoleScreen(&screen);
    theMissionScript.SetServerScreen(&screen);
    view = std::make_unique<RenderManager>(firstScene, &console, std::move(scenes));
}

BridgeScreens::~BridgeScreens()
{
    view.reset();
    if (&theMissionScript.Screen() == &screen)
        theMissionScript.SetServerScreen(nullptr);
    if (gClient && gClient->Screen() == &screen)
        gClient->SetConsoleScreen(nullptr);
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

std::unique_ptr<SceneHost> MakeBridgeScreens(SceneFunction firstScene, std::unique_ptr<SceneState> scenes)
{
    return std::make_unique<BridgeScreens>(firstScene, std::move(scenes));
}
