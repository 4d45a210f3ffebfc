// The server while a mission runs. With the mission's simulation paused the
// server shows the mission's own screens (SceneServerRunningMode); while it
// runs, the server's window is a console of its own (SceneServerConsoleMode).
// Either starts the next mission as soon as the script asks for one.

#include "engine/base/QelGraphicsFactoryBase.h"
#include "game/net/CorvaneServer.h"
#include "game/script/MissionScript.h"
#include "game/shell/UIControls.h"
#include "game/shell/UIContext.h"
#include "game/shell/scenes/MissionStart.h"
#include "game/shell/scenes/NetworkFailureDialog.h"
#include "game/shell/scenes/Scenes.h"
#include "game/shell/scenes/ServerClientList.h"

namespace {

constexpr int32_t kMissionSelectId = 20;
constexpr int kButtonLayer = 1001;

bool NetworkDown()
{
    return gServer && gServer->IsNetworkDown();
}

// A next mission that cannot start leaves no mission: back to the chooser,
// which says why.
SceneFunction RunningFrameStep()
{
    if (theMissionScript.SimRunning())
        return SceneServerConsoleMode;
    return StartNextMission() == NextMission::Failed ? SceneServerSetupMode : SceneServerRunningMode;
}

// The running mission goes on until another one is started from the chooser.
SceneFunction RunningDraw()
{
    if (NetworkDown())
        return DrawNetworkFailureDialog(SceneServerRunningMode);
    UIContext& ui = theUIContext;
    ui.SetCurrentRectEdges(1, 1, 300, 40);
    if (uiButton(kMissionSelectId, "Mission Select", "gui-2", true, kButtonLayer)) {
        theMissionScript.missionToStart.clear();
        return SceneServerSetupMode;
    }
    DrawServerClientList();
    return SceneServerRunningMode;
}

SceneFunction ConsoleFrameStep()
{
    if (!theMissionScript.SimRunning())
        return SceneServerRunningMode;
    switch (StartNextMission()) {
    case NextMission::Started: return SceneServerRunningMode;
    case NextMission::Failed: return SceneServerSetupMode;
    case NextMission::None: break;
    }
    return SceneServerConsoleMode;
}

SceneFunction ConsoleDraw()
{
    if (NetworkDown())
        return DrawNetworkFailureDialog(SceneServerConsoleMode);
    if (gGraphicsFactory)
        gGraphicsFactory->Flush2D();
    DrawServerClientList();
    return SceneServerConsoleMode;
}

}  // namespace

SceneFunction SceneServerRunningMode(SceneEvent event)
{
    switch (event) {
    case SCENE_FRAME: return RunningFrameStep();
    case SCENE_DRAW: return RunningDraw();
    default: break;
    }
    return SceneServerRunningMode;
}

SceneFunction SceneServerConsoleMode(SceneEvent event)
{
    switch (event) {
    case SCENE_FRAME: return ConsoleFrameStep();
    case SCENE_DRAW: return ConsoleDraw();
    default: break;
    }
    return SceneServerConsoleMode;
}
