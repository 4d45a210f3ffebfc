// The screen of a connected bridge console: the backdrop (red during red
// alert), the boxes of the widgets the server chose for this console, the
// mission's own screens and story dialogs, the red flash when the ship is
// hit, the dissolve after a jump, a notice while the mission is paused, and
// the way to the options. A lost connection leads back to the connect scene,
// which says so.

#include "engine/base/Qel2dBitmap.h"
#include "game/net/ClientSignalHandlers.h"
#include "game/net/ConsoleScreen.h"
#include "game/net/CorvaneClient.h"
#include "game/render/manager/RenderManager.h"
#include "game/shell/StoryDialogDraw.h"
#include "game/shell/scenes/SceneUtilities.h"
#include "game/shell/scenes/Scenes.h"
#include "game/shell/scenes/ShellState.h"
#include "game/ui/GUISound.h"
#include "game/ui/UIContext.h"
#include "game/widgets/ConsoleState.h"
#include "game/world/Simulation.h"

#include <algorithm>

namespace {

constexpr float kMaxFlash = 100.0f;
// "Visual: Red flash"; the other style draws none.
constexpr int32_t kRedFlashStyle = 0;
// Over the console's boxes, with the jump's dissolve.
constexpr int kFlashLayer = 1100;
// A console whose name holds this shows a cinematic view.
constexpr const char* kCinematicScreen = "cine";

SceneFunction FrameStep(std::string& connectNotice, CorvaneClient* client)
{
    if (client && client->IsConnected())
        return SceneClientRunningMode;
    connectNotice = "The connection to the server was lost.";
    return SceneClientConnectMode;
}

// The flash fades by one step a tick: from full in 100 ticks (3.3 s).
void TickStep(CorvaneClient* client)
{
    if (client)
        client->damageFlashLevel = std::clamp(client->damageFlashLevel - 1.0f, 0.0f, kMaxFlash);
}

// "Options" in the top-left corner, or its hot key; the server hears that
// the console went there.
bool OptionsAsked(UIContext& ui, const RenderManager* view)
{
    const ConsoleState* console = SceneConsole(view);
    if (!ConsoleOptionsAsked(ui, view, console && console->consoleName.find(kCinematicScreen) != std::string::npos))
        return false;
    PlayGUISound("gui_button");
    SendSignal(ClientChangeSignal{"entered_options"});
    return true;
}

// The whole window washed red, as strong as the hit was recent, unless the
// crew turned the flash off or the main screen shows its cinematic camera.
void DrawDamageFlash(UIContext& ui, const RenderManager* view)
{
    const ConsoleState* console = SceneConsole(view);
    const CorvaneClient* client = SceneClient(view);
    if (!client || client->damageFlashLevel <= 0.0f || !console ||
        console->settings.damageFlashStyle != kRedFlashStyle)
        return;
    if (view && view->cam_mode == "cinematic")
        return;
    Qel2dBitmap* white = ui.White();
    if (!white)
        return;
    const float red[4] = {1.0f, 0.0f, 0.0f, client->damageFlashLevel / kMaxFlash};
    white->SetDestRectInt(QelRect{0, 0, ui.WindowWidth(), ui.WindowHeight()});
    white->DrawQuad(red, kFlashLayer, false);
}

// The hyper-warp screen, while it shows, is all the console shows.
SceneFunction Draw(ShellState& shell, RenderManager* view)
{
    UIContext& ui = shell.UI();
    if (view && view->render3D.hyper_warp_on) {
        view->render3D.DrawHyperWarp();
        return SceneClientRunningMode;
    }
    const bool redAlert = theSimulation && theSimulation->redAlertState != 0;
    shell.backdrop.ReadColour(redAlert ? "gui-color-red-alert" : "gui-color-deep-background");
    shell.backdrop.Draw(ui);
    DrawConsoleScreenBoxes(view);
    DrawConsoleMissionScreens(ui, shell.retainedScreen, view);
    DrawDamageFlash(ui, view);
    if (view)
        view->DrawDissolve();
    DrawPausedNotice(ui);
    if (OptionsAsked(ui, view))
        return SceneClientOptionsMode;
    if (ConsoleScreen* screen = ClientConsoleScreen(SceneClient(view)))
        DrawStoryDialogs(ui, screen->StoryDialogs());
    return SceneClientRunningMode;
}

}  // namespace

SceneFunction SceneClientRunningMode(SceneEvent event, SceneState& scenes, RenderManager* view)
{
    ShellState& shell = ShellState::Of(scenes);
    switch (event) {
    case SCENE_ENTER: LoadConsolePresets(view); break;
    case SCENE_LEAVE: SaveConsolePresets(view); break;
    case SCENE_FRAME: return FrameStep(shell.connectNotice, SceneClient(view));
    case SCENE_TICK: TickStep(SceneClient(view)); break;
    case SCENE_DRAW: return Draw(shell, view);
    default: break;
    }
    return SceneClientRunningMode;
}
