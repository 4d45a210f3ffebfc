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
#include "game/shell/scenes/SceneGlobals.h"
#include "game/shell/scenes/Scenes.h"
#include "game/shell/scenes/ServerClientList.h"
#include "game/ui/GUISound.h"
#include "game/ui/UIContext.h"
#include "game/ui/UIControls.h"

namespace {

constexpr int32_t kSystemOptionsId = 20;
constexpr int32_t kExitButtonId = 21;
constexpr int kButtonLayer = 1001;
constexpr int kTextLayer = 1000;
constexpr glm::vec4 kTitleColour{0.6f, 0.8f, 0.8f, 1.0f};
constexpr glm::vec4 kAddressColour{0.9f, 0.8f, 0.8f, 1.0f};
constexpr glm::vec4 kHeadingColour{0.6f, 0.6f, 0.6f, 1.0f};
constexpr glm::vec4 kErrorColour{1.0f, 0.35f, 0.35f, 1.0f};

// The pending mission starts at once. One that cannot start is not tried
// again every frame: its reason is shown and the host chooses.
SceneFunction StartPendingMission()
{
    std::string& pending = theMissionScript.missionToStart;
    if (pending.empty())
        return SceneServerSetupMode;
    if (StartMission(pending))
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
    const bool clicked = uiButton(kExitButtonId, "Exit Server", "gui-2", true, kButtonLayer);
    ui.PopRect();
    if (clicked) {
        PlayGUISound("gui_button");
        theMissionScript.Stop();
    }
    return clicked;
}

void DrawHeader(UIContext& ui)
{
    const IntRect& current = ui.CurrentRect();
    IntRect text{current.right + 100, current.top, ui.WindowWidth() - 10, current.bottom};
    ui.ShiftRectY(1, 10);
    ui.DrawText(ui.GetFont("gui-3"), text, "Corvane Halvex Server  " + GSGetGameVersion(), kTitleColour, kTextLayer,
                0);
    ui.DrawText(ui.GetFont("gui-2"), text, "IP " + serverAddressText, kAddressColour, kTextLayer, 1);
    text.Offset(0, 20, 0, 20);
    ui.DrawText(ui.GetFont("gui-1"), text, "Choose Mission", kHeadingColour, kTextLayer, 2);
}

// The first line of why the last start failed; the whole report is in the
// console log.
void DrawStartError(UIContext& ui)
{
    if (missionStartError.empty())
        return;
    const std::string firstLine = missionStartError.substr(0, missionStartError.find('\n'));
    const IntRect box{10, ui.WindowHeight() - 100, ui.WindowWidth() - 160, ui.WindowHeight() - 4};
    ui.DrawText(ui.GetFont("gui-1"), box, firstLine, kErrorColour, kTextLayer, 0);
}

SceneFunction Draw()
{
    if (gServer && gServer->IsNetworkDown())
        return DrawNetworkFailureDialog(SceneServerSetupMode);
    if (theRenderManager)
        theRenderManager->DrawSkyBackground();
    UIContext& ui = theUIContext;
    ui.SetCurrentRectEdges(1, 1, 300, 40);
    if (ExitServerButton(ui))
        return SceneFirstMode;
    if (uiButton(kSystemOptionsId, "System Options", "gui-2", true, kButtonLayer))
        return OpenOptionsFromServer(SceneServerSetupMode);
    DrawHeader(ui);
    if (gGraphicsFactory)
        gGraphicsFactory->Flush2D();
    DrawServerClientList();
    DrawStartError(ui);
    return uiMissionList() ? SceneServerRunningMode : SceneServerSetupMode;
}

}  // namespace

SceneFunction SceneServerSetupMode(SceneEvent event)
{
    switch (event) {
    case SCENE_ENTER: optionsOpenedFromServer = false; break;
    case SCENE_FRAME: return StartPendingMission();
    case SCENE_DRAW: return Draw();
    default: break;
    }
    return SceneServerSetupMode;
}
