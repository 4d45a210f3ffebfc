// The server while a mission runs. With the mission's simulation paused the
// server shows the mission's own screens (SceneServerRunningMode); while it
// runs, the server's window is a console of its own (SceneServerConsoleMode).
// Either starts the next mission as soon as the script asks for one.

#include "engine/base/QelGraphicsFactoryBase.h"
#include "game/net/ClientSignalHandlers.h"
#include "game/net/ConsoleScreen.h"
#include "game/net/CorvaneServer.h"
#include "game/render/manager/RenderManager.h"
#include "game/script/GameControls.h"
#include "game/script/MissionScript.h"
#include "game/shell/MissionStart.h"
#include "game/shell/StoryDialogDraw.h"
#include "game/shell/scenes/NetworkFailureDialog.h"
#include "game/shell/scenes/SceneUtilities.h"
#include "game/shell/scenes/Scenes.h"
#include "game/shell/scenes/ServerClientList.h"
#include "game/shell/scenes/ShellState.h"
#include "game/ui/GUISound.h"
#include "game/ui/UIContext.h"
#include "game/ui/UIControls.h"
#include "game/world/AppData.h"

namespace {

constexpr int32_t kMissionSelectId = 20;
constexpr int32_t kRunningOptionsId = 21;
constexpr int kButtonLayer = 1001;
constexpr int kHelpLayer = 1100;
constexpr glm::vec4 kWhite{1.0f, 1.0f, 1.0f, 1.0f};
// '^' breaks the line.
constexpr const char* kHelpText =
    "Congratulations on installing and starting a server for Corvane Halvex!^^^Now, to make the game function "
    "properly, you must start the game on another computer (as a client), connect that client to this server, and "
    "use one or more clients to control the ship. ^^^For a full bridge, connect 5 clients to this server.  You can "
    "connect more computer clients to control fighters and shuttles, and other special jobs.^^^ To win the simplest "
    "missions, you only need to have client computers for the Helm and Weapon consoles.^^^Connect using this "
    "server's IP address:   ";

bool NetworkDown()
{
    return gServer && gServer->IsNetworkDown();
}

// A next mission that cannot start leaves no mission: back to the chooser,
// which says why.
SceneFunction RunningFrameStep(std::string& startError)
{
    if (theMissionScript.SimRunning())
        return SceneServerConsoleMode;
    return StartNextMission(startError) == NextMission::Failed ? SceneServerSetupMode : SceneServerRunningMode;
}

// The mission's own screens, and the way back to the chooser; the running
// mission goes on until another one is started there.
SceneFunction RunningDraw(ShellState& shell, const RenderManager* view)
{
    UIContext& ui = shell.UI();
    if (NetworkDown())
        return DrawNetworkFailureDialog(ui, SceneServerRunningMode);
    DrawConsoleMissionScreens(ui, shell.retainedScreen, view);
    ui.SetCurrentRectEdges(1, 1, 300, 40);
    if (uiButton(ui, kMissionSelectId, "Mission Select", "gui-2", true, kButtonLayer)) {
        PlayGUISound("gui_button");
        theMissionScript.missionToStart.clear();
        return SceneServerSetupMode;
    }
    ui.ShiftRectX(1, 1);
    if (uiButton(ui, kRunningOptionsId, "Options", "gui-2", true, kButtonLayer))
        return OpenOptionsFromServer(shell, SceneServerRunningMode);
    DrawServerClientList(ui);
    return SceneServerRunningMode;
}

SceneFunction ConsoleFrameStep(std::string& startError)
{
    if (!theMissionScript.SimRunning())
        return SceneServerRunningMode;
    switch (StartNextMission(startError)) {
    case NextMission::Started: return SceneServerRunningMode;
    case NextMission::Failed: return SceneServerSetupMode;
    case NextMission::None: break;
    }
    return SceneServerConsoleMode;
}

// "Options" on the server's console pauses the world, on every console too;
// the next input step then shows the mission's own screens.
void DrawPauseButton(UIContext& ui, const RenderManager* view)
{
    const bool cinematic = view && view->cam_mode == "cinematic";
    if (!ConsoleOptionsAsked(ui, view, cinematic))
        return;
    PlayGUISound("gui_button");
    GSPauseSim();
}

// While no console has joined, a large box says how to crew the ship.
void DrawHelpBox(UIContext& ui, const std::string& serverAddressText)
{
    if (AppData::GetFloat("suppress_no_client_big_dialog") != 0.0f || !gServer || !gServer->Clients().empty() ||
        gServer->suppressConnectDialog)
        return;
    const float width = static_cast<float>(ui.WindowWidth());
    const float height = static_cast<float>(ui.WindowHeight());
    uiFrame(ui, 3, width * 0.1f, height * 0.1f, width * 0.9f, height * 0.9f, ui.dimColour, kHelpLayer);
    const IntRect text{static_cast<int32_t>(width * 0.1f) + 10, static_cast<int32_t>(height * 0.1f) + 10,
                       static_cast<int32_t>(width * 0.9f) - 10, static_cast<int32_t>(height * 0.9f) - 10};
    ui.DrawText(ui.GetFont("gui-2"), text, std::string(kHelpText) + serverAddressText, kWhite, kHelpLayer + 1, 2);
}

// The server's own console: its boxes and the mission's screens over the
// backdrop, the dissolve after its ship's jump, the pause button, the story
// dialogs and the help box; or, while it shows, the hyper-warp screen alone.
void DrawServerConsoleButtons(ShellState& shell, RenderManager* view)
{
    if (view && view->render3D.hyper_warp_on) {
        view->render3D.DrawHyperWarp();
        return;
    }
    UIContext& ui = shell.UI();
    shell.backdrop.Draw(ui);
    DrawConsoleScreenBoxes(view);
    DrawConsoleMissionScreens(ui, shell.retainedScreen, view);
    if (view)
        view->DrawDissolve();
    DrawPauseButton(ui, view);
    if (ConsoleScreen* screen = ClientConsoleScreen(SceneClient(view)))
        DrawStoryDialogs(ui, screen->StoryDialogs());
    DrawHelpBox(ui, shell.serverAddressText);
}

SceneFunction ConsoleDraw(ShellState& shell, RenderManager* view)
{
    UIContext& ui = shell.UI();
    if (NetworkDown())
        return DrawNetworkFailureDialog(ui, SceneServerConsoleMode);
    DrawServerConsoleButtons(shell, view);
    if (gGraphicsFactory)
        gGraphicsFactory->Flush2D();
    DrawServerClientList(ui);
    return SceneServerConsoleMode;
}

}  // namespace

SceneFunction SceneServerRunningMode(SceneEvent event, SceneState& scenes, RenderManager* view)
{
    ShellState& shell = ShellState::Of(scenes);
    switch (event) {
    case SCENE_FRAME: return RunningFrameStep(shell.missionStartError);
    case SCENE_DRAW: return RunningDraw(shell, view);
    default: break;
    }
    return SceneServerRunningMode;
}

SceneFunction SceneServerConsoleMode(SceneEvent event, SceneState& scenes, RenderManager* view)
{
    ShellState& shell = ShellState::Of(scenes);
    switch (event) {
    case SCENE_ENTER: LoadConsolePresets(view); break;
    case SCENE_LEAVE: SaveConsolePresets(view); break;
    case SCENE_FRAME: return ConsoleFrameStep(shell.missionStartError);
    case SCENE_DRAW: return ConsoleDraw(shell, view);
    default: break;
    }
    return SceneServerConsoleMode;
}
