// The server's waiting room: its title, version and address, the connected
// consoles, and the mission chooser. A mission starts from "Initialize
// Mission" or, at the first input step, from the pending mission name (the
// preference "default_mission_folder" fills it when the server starts).

#include "engine/base/QelGraphicsFactoryBase.h"
#include "game/net/CorvaneServer.h"
#include "game/render/manager/RenderManager.h"
#include "game/script/GameControls.h"
#include "game/script/MissionScript.h"
#include "game/shell/MissionStart.h"
#include "game/shell/scenes/MissionList.h"
#include "game/shell/scenes/NetworkFailureDialog.h"
#include "game/shell/scenes/SceneUtilities.h"
#include "game/shell/scenes/Scenes.h"
#include "game/shell/scenes/ServerClientList.h"
#include "game/shell/scenes/ShellState.h"
#include "game/ui/GUISound.h"
#include "game/ui/UIContext.h"
#include "game/ui/UIControls.h"

namespace {

constexpr int32_t kSystemOptionsId = 20;
constexpr int32_t kExitButtonId = 21;
constexpr int kButtonLayer = 1001;
constexpr int kTextLayer = 1000;
constexpr int32_t kHeaderGap = 10;        // between the buttons and the header
constexpr int32_t kHeaderMargin = 10;     // from the window's right edge
constexpr int32_t kTitleBottom = 38;      // the title's line, as tall as the buttons
constexpr int32_t kSecondLineHeight = 24; // the address and the heading
constexpr glm::vec4 kTitleColour{0.6f, 0.8f, 0.8f, 1.0f};
constexpr glm::vec4 kAddressColour{0.9f, 0.8f, 0.8f, 1.0f};
constexpr glm::vec4 kHeadingColour{0.6f, 0.6f, 0.6f, 1.0f};
constexpr glm::vec4 kErrorColour{1.0f, 0.35f, 0.35f, 1.0f};

// The pending mission starts at once. One that cannot start is not tried
// again every frame: its reason is shown and the host chooses.
SceneFunction StartPendingMission(std::string& startError)
{
    std::string& pending = theMissionScript.missionToStart;
    if (pending.empty())
        return SceneServerSetupMode;
    if (StartMission(pending, startError))
        return SceneServerRunningMode;
    pending.clear();
    return SceneServerSetupMode;
}

// "Exit Server" ends the mission; hosting goes on, so consoles stay connected
// for the next server start.
bool ExitServerButton(UIContext& ui)
{
    ui.PushRect();
    ui.ShiftRectX(1, 5);
    const bool clicked = uiButton(ui, kExitButtonId, "Exit Server", "gui-2", true, kButtonLayer);
    ui.PopRect();
    if (clicked) {
        PlayGUISound("gui_button");
        theMissionScript.Stop();
    }
    return clicked;
}

// The title, the address and the chooser's heading, right of the two
// buttons (the current rectangle is the first of them), never under them.
void DrawHeader(UIContext& ui, const std::string& serverAddressText)
{
    ui.PushRect();
    ui.ShiftRectX(1, 5);
    const int32_t left = ui.CurrentRect().right + kHeaderGap;
    ui.PopRect();
    const int32_t right = ui.WindowWidth() - kHeaderMargin;
    ui.DrawText(ui.GetFont("gui-3"), IntRect{left, 1, right, kTitleBottom},
                "Corvane Halvex Server  " + GSGetGameVersion(), kTitleColour, kTextLayer, 1);
    const IntRect secondLine{left, kTitleBottom, right, kTitleBottom + kSecondLineHeight};
    ui.DrawText(ui.GetFont("gui-2"), secondLine, "IP " + serverAddressText, kAddressColour, kTextLayer, 1);
    ui.DrawText(ui.GetFont("gui-1"), secondLine, "Choose Mission", kHeadingColour, kTextLayer, 0);
}

// The first line of why the last start failed; the whole report is in the
// console log.
void DrawStartError(UIContext& ui, const std::string& missionStartError)
{
    if (missionStartError.empty())
        return;
    const std::string firstLine = missionStartError.substr(0, missionStartError.find('\n'));
    const IntRect box{10, ui.WindowHeight() - 100, ui.WindowWidth() - 160, ui.WindowHeight() - 4};
    ui.DrawText(ui.GetFont("gui-1"), box, firstLine, kErrorColour, kTextLayer, 0);
}

SceneFunction Draw(ShellState& shell, RenderManager* view)
{
    UIContext& ui = shell.UI();
    if (gServer && gServer->IsNetworkDown())
        return DrawNetworkFailureDialog(ui, SceneServerSetupMode);
    if (view)
        view->DrawSkyBackground();
    ui.SetCurrentRectEdges(1, 1, 300, 40);
    if (ExitServerButton(ui))
        return SceneFirstMode;
    if (uiButton(ui, kSystemOptionsId, "System Options", "gui-2", true, kButtonLayer))
        return OpenOptionsFromServer(shell, SceneServerSetupMode);
    DrawHeader(ui, shell.serverAddressText);
    if (gGraphicsFactory)
        gGraphicsFactory->Flush2D();
    DrawServerClientList(ui);
    DrawStartError(ui, shell.missionStartError);
    return uiMissionList(ui, shell.missionList, shell.missions, shell.missionStartError) ? SceneServerRunningMode
                                                                                      : SceneServerSetupMode;
}

}  // namespace

SceneFunction SceneServerSetupMode(SceneEvent event, SceneState& scenes, RenderManager* view)
{
    ShellState& shell = ShellState::Of(scenes);
    switch (event) {
    case SCENE_ENTER: shell.optionsOpenedFromServer = false; break;
    case SCENE_FRAME: return StartPendingMission(shell.missionStartError);
    case SCENE_DRAW: return Draw(shell, view);
    default: break;
    }
    return SceneServerSetupMode;
}
