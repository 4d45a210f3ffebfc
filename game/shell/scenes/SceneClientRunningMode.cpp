// The screen of a connected bridge console: the backdrop (red during red
// alert), the boxes of the widgets the server chose for this console, the
// mission's own screens and story dialogs, and the red flash when the ship is
// hit. A lost connection leads back to the connect scene, which says so.

#include "game/net/CorvaneClient.h"
#include "game/shell/RetainedGUIScreen.h"
#include "game/shell/StoryDialogDraw.h"
#include "game/shell/scenes/SceneGlobals.h"
#include "game/shell/scenes/SceneUtilities.h"
#include "game/shell/scenes/Scenes.h"
#include "game/world/Simulation.h"

#include <algorithm>

namespace {

constexpr float kMaxFlash = 100.0f;

SceneFunction FrameStep()
{
    if (gClient && gClient->IsConnected())
        return SceneClientRunningMode;
    connectNotice = "The connection to the server was lost.";
    return SceneClientConnectMode;
}

// The flash fades by one step a tick: from full in 100 ticks (3.3 s).
void TickStep()
{
    if (gClient)
        gClient->damageFlashLevel = std::clamp(gClient->damageFlashLevel - 1.0f, 0.0f, kMaxFlash);
}

SceneFunction Draw()
{
    const bool redAlert = theSimulation && theSimulation->redAlertState != 0;
    ReadDeepBackgroundColour(redAlert ? "gui-color-red-alert" : "gui-color-deep-background");
    DrawMenuBackdrop();
    DrawConsoleScreenBoxes();
    theRetainedGUIScreen.HandleHotKeys();
    DrawStoryDialogs();
    return SceneClientRunningMode;
}

}  // namespace

SceneFunction SceneClientRunningMode(SceneEvent event)
{
    switch (event) {
    case SCENE_FRAME: return FrameStep();
    case SCENE_TICK: TickStep(); break;
    case SCENE_DRAW: return Draw();
    default: break;
    }
    return SceneClientRunningMode;
}
