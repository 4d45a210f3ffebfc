// The render manager's set-up, in the order the start-up shows the player
// something soonest: the settings and the first scene at once, then, behind
// the first screen, a step a frame, the sky, the fonts the screen did not
// ask for, the portraits' sheets, and the views' targets, shaders and
// meshes. Whatever is left loads at once when a later screen, or the 3D
// view, needs it.

#include "game/net/ClientSignalHandlers.h"
#include "game/render/manager/RenderManager.h"

#include "engine/base/QelGraphicsFactoryBase.h"
#include "game/net/ConsoleScreen.h"
#include "game/ui/UIContext.h"

// The first scene is entered before the settings below are read: what it
// needs of them it reads in its own steps.
void RenderManager::SetupFirstScreen()
{
    SetupSettingsAndFirstScene();
    nextLoad = LoadStep::Sky;
}

void RenderManager::SetupSettingsAndFirstScene()
{
    UIContext& ui = UI();
    ui.LoadSettings();
    portraitGen.ReadList();
    ui.pictures = this;
    skyBox = std::make_unique<SkyBoxManager>();
    skyBox->BeginTexture(SkyBoxManager::kDefaultTexture);
    currentScene = firstScene;
    if (currentScene)
        currentScene(SCENE_ENTER, *sceneState, this);
    ReadViewSettings();
    cam_angle = "forward";
    cam_mode = "chase";
    main_screen_view = "3d_view";
    ReadGuiColors();
}

void RenderManager::SetupViews()
{
    if (gGraphicsFactory) {
        ballTarget = gGraphicsFactory->GetRenderTarget(kBallTargetName, kBallTargetSize, kBallTargetSize, true);
        radarTarget = gGraphicsFactory->GetRenderTarget(kRadarTargetName, mainBuffWidth, mainBuffHeight, true);
    }
    radarSetUp = true;
    render2D.Setup();
    render3D.Setup();
    if (ConsoleScreen* screen = ClientConsoleScreen(Client()))
        screen->RetainedGUI().Draw();
}

// Each step is a band of the sky, a font, a sheet, or the views: tens of
// milliseconds, so the screen keeps answering.
bool RenderManager::ContinueLoading()
{
    UIContext& ui = UI();
    switch (nextLoad) {
    case LoadStep::Sky:
        if (skyBox && skyBox->ContinueLoading())
            return true;
        nextLoad = LoadStep::Fonts;
        return true;
    case LoadStep::Fonts:
        if (ui.LoadNextFont())
            return true;
        nextLoad = LoadStep::Portraits;
        return true;
    case LoadStep::Portraits:
        if (portraitGen.LoadNextSheet())
            return true;
        nextLoad = LoadStep::Views;
        return true;
    case LoadStep::Views:
        SetupViews();
        nextLoad = LoadStep::Done;
        return false;
    case LoadStep::Done: return false;
    }
    return false;
}

void RenderManager::FinishLoading()
{
    while (ContinueLoading()) {
    }
}
