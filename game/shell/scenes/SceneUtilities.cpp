#include "game/shell/scenes/SceneUtilities.h"

#include "engine/base/QelVirtualKeys.h"
#include "game/net/ClientSignalHandlers.h"
#include "game/net/ConsoleScreen.h"
#include "game/render/manager/RenderManager.h"
#include "game/shell/RetainedGUIScreen.h"
#include "game/shell/scenes/OptionsScreen.h"
#include "game/shell/scenes/Scenes.h"
#include "game/shell/scenes/ShellState.h"
#include "game/ui/GUISound.h"
#include "game/ui/KeyVal.h"
#include "game/ui/UIContext.h"
#include "game/ui/UIControls.h"
#include "game/widgets/GUIBoxManager.h"
#include "game/widgets/ConsoleState.h"
#include "game/world/Simulation.h"

namespace {

constexpr int32_t kButtonColumnHalfWidth = 70;
constexpr int32_t kToolColumnWidth = 198;
constexpr int32_t kToolColumnMargin = 2;
constexpr int32_t kToolButtonHeight = 33;
constexpr int kArrowRight = 1;
constexpr int kArrowLeft = 3;
constexpr int kAlignCentre = 2;

// The widget that stays under the network statistics: it shows, and takes
// no clicks.
constexpr const char* kViewUnderStats = "3dview";

constexpr int32_t kConsoleOptionsId = 10;
constexpr int32_t kConsoleOptionsKey = qel::vk::kLetterA + ('O' - 'A');
const IntRect kConsoleOptionsRect{1, 1, 200, 35};
constexpr int kConsoleOptionsLayer = 1000;

// The paused notice: a strip at the top centre, over the widgets' boxes and
// the mission's screens.
constexpr int32_t kPausedHalfWidth = 160;
constexpr int32_t kPausedTop = 6;
constexpr int32_t kPausedHeight = 34;
constexpr int kPausedLayer = 1150;
// Dark enough under the words that they read over any widget.
constexpr glm::vec4 kPausedShade{0.0f, 0.0f, 0.0f, 0.8f};
constexpr const char* kPausedText = "MISSION PAUSED";

}  // namespace

void SetButtonColumn(UIContext& ui, int32_t x, int32_t top, int32_t bottom)
{
    ui.SetCurrentRectEdges(x - kButtonColumnHalfWidth, top, x + kButtonColumnHalfWidth, bottom);
}

bool NetworkStatsShown(const RenderManager* view)
{
    return view && view->netStatsOverlayMode > 0;
}

ConsoleState* SceneConsole(const RenderManager* view)
{
    return view ? ConsoleState::Of(view->console) : nullptr;
}

CorvaneClient* SceneClient(const RenderManager* view)
{
    return view ? view->Client() : nullptr;
}

CorvaneServer* SceneServer(const RenderManager* view)
{
    return view ? view->Server() : nullptr;
}

void LoadConsolePresets(RenderManager* view)
{
    if (ConsoleState* console = SceneConsole(view))
        console->engineeringPresets.Load();
}

void SaveConsolePresets(RenderManager* view)
{
    if (ConsoleState* console = SceneConsole(view))
        console->engineeringPresets.Save();
}

void DrawConsoleScreenBoxes(RenderManager* view)
{
    ConsoleState* whole = SceneConsole(view);
    if (!whole)
        return;
    ConsoleState& console = *whole;
    if (NetworkStatsShown(view)) {
        GUIBoxManager::DrawConsoleBoxes(console, console.consoleName, console.consoleWidgetList, kViewUnderStats);
        return;
    }
    GUIBoxManager::DrawConsoleBoxes(console, console.consoleName, console.consoleWidgetList);
    GUIBoxManager::EditMode(console.UI(), console.boxEdit, console.consoleName, view);
}

void DrawConsoleMissionScreens(UIContext& ui, RetainedGUIScreen& screen, const RenderManager* view)
{
    ConsoleScreen* console = ClientConsoleScreen(SceneClient(view));
    if (console && !NetworkStatsShown(view))
        screen.HandleHotKeys(ui, console->RetainedGUI());
}

SceneFunction OpenOptionsFromServer(ShellState& shell, SceneFunction returnScene)
{
    PlayGUISound("gui_button");
    shell.optionsOpenedFromServer = true;
    shell.optionsReturnScene = returnScene;
    return SceneClientOptionsMode;
}

bool ConsoleOptionsAsked(UIContext& ui, const RenderManager* view, bool cinematic)
{
    ui.SetCurrentRect(kConsoleOptionsRect);
    const bool hotKey =
        isHotKeyPressed("OPT", "option_button", kConsoleOptionsKey, "clicks Options button on client");
    const bool transparent = (view && view->transparentOptionsButton) || cinematic;
    const bool shown = !NetworkStatsShown(view) && (!transparent || ui.MouseInside(kConsoleOptionsRect));
    const bool clicked = shown && uiButton(ui, kConsoleOptionsId, "Options", "gui-2", true, kConsoleOptionsLayer);
    return hotKey || clicked;
}

void DrawPausedNotice(UIContext& ui)
{
    if (!theSimulation || !theSimulation->paused)
        return;
    const int32_t middle = ui.WindowWidth() / 2;
    const IntRect strip{middle - kPausedHalfWidth, kPausedTop, middle + kPausedHalfWidth, kPausedTop + kPausedHeight};
    ui.FillRect(static_cast<float>(strip.left), static_cast<float>(strip.top), static_cast<float>(strip.right),
                static_cast<float>(strip.bottom), kPausedShade, kPausedLayer);
    uiFrame(ui, 3, static_cast<float>(strip.left), static_cast<float>(strip.top), static_cast<float>(strip.right),
            static_cast<float>(strip.bottom), ui.dimColour, kPausedLayer);
    ui.DrawText(ui.GetFont("gui-2"), strip, kPausedText, ui.mainColour, kPausedLayer + 1, kAlignCentre);
}

bool DevToolExit(UIContext& ui, int32_t id)
{
    const bool escape = OptionsHotKeyPressed(kOptionsLeaveKey);
    if (!uiButton(ui, id, "Exit", "gui-1", true, kOptionsLayer) && !escape)
        return false;
    PlayGUISound("gui_button");
    return true;
}

void SetDevToolButtonColumn(UIContext& ui)
{
    const int32_t width = ui.WindowWidth();
    ui.SetCurrentRectEdges(width - kToolColumnWidth - kToolColumnMargin, kToolColumnMargin,
                                     width - kToolColumnMargin, kToolColumnMargin + kToolButtonHeight);
}

bool uiValueStepper(UIContext& ui, int32_t id, int32_t& value, const std::string& label)
{
    const int32_t before = value;
    ui.PushRect();
    const IntRect row = ui.CurrentRect();
    ui.SetCurrentRectEdges(row.left, row.top, row.left + row.Height(), row.bottom);
    if (uiArrowButton(ui, id, kArrowLeft, true, kOptionsLayer))
        --value;
    ui.PopRect();
    ui.PushRect();
    ui.SquareRectRight();
    if (uiArrowButton(ui, id + 1, kArrowRight, true, kOptionsLayer))
        ++value;
    ui.PopRect();
    ui.DrawText(ui.GetFont("gui-1"), ui.CurrentRect(), label + std::to_string(value), ui.mainColour, kOptionsLayer,
                kAlignCentre);
    return value != before;
}
