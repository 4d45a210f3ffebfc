// How the consoles of this machine play and show their views: the navigation
// ring's brightness, the panels' transparency, the helm mode, the damage
// flash, the 2D radar's relative display, weapon arcs and drag threshold;
// and the way to the controller set-up. Each view setting is stored the
// moment it changes, the helm mode when the screen is left.

#include "game/net/CorvaneClient.h"
#include "game/render/manager/RenderManager.h"
#include "game/shell/scenes/OptionsScreen.h"
#include "game/shell/scenes/SceneUtilities.h"
#include "game/shell/scenes/Scenes.h"
#include "game/shell/scenes/ShellState.h"
#include "game/ui/ConsoleSettings.h"
#include "game/ui/GUISound.h"
#include "game/ui/MachineSettings.h"
#include "game/ui/UIContext.h"
#include "game/ui/UIControls.h"
#include "game/widgets/ConsoleState.h"

#include <algorithm>
#include <array>
#include <string>
#include <vector>

namespace {

constexpr OptionsHotKey kJoystickKey{"joystick_button", LetterKey('J'), "clicks Joystick button on client"};
constexpr OptionsHotKey kRelativeKey{"toggle_relative_display", LetterKey('F'), "clicks Relative 2D Display button on client"};
constexpr OptionsHotKey kArcsKey{"toggle_weapon_arcs", LetterKey('G'), "clicks Show Weapon Arcs button on client"};

constexpr int32_t kJoystickId = 12;
constexpr int32_t kNavRingId = 13;
constexpr int32_t kPanelOpacityId = 14;
constexpr int32_t kHelmId = 15;
constexpr int32_t kFlashId = 16;
constexpr int32_t kRelativeId = 17;
constexpr int32_t kArcsId = 18;
constexpr int32_t kDragThresholdId = 19;

constexpr int32_t kGap = 6;
constexpr int32_t kLabelGap = 10;
constexpr float kPercent = 100.0f;
constexpr glm::vec4 kWhite{1.0f, 1.0f, 1.0f, 1.0f};

const std::vector<std::string> kHelmOptions{"Helm: Trainee", "Helm: Capital 3D", "Helm: Full 3D"};
const std::vector<std::string> kVisualOptions{"Visual: Red flash", "Visual: None"};
constexpr std::array<const char*, RenderManager::kMaxArcMode + 1> kArcNames{"All", "Players", "None"};

// A label to the right of the current control, left-aligned.
void LabelRight(UIContext& ui, const std::string& text, const glm::vec4& colour)
{
    ui.PushRect();
    ui.ShiftRectX(1, kLabelGap);
    ui.DrawText(ui.GetFont("gui-2"), ui.CurrentRect(), text, colour, kOptionsLayer, 0);
    ui.PopRect();
}

// A 0..1 setting on a 0..100 slider, stored as "%f" of value + 1 when it
// changes; its label shows as bright as the value.
void DrawFractionSlider(UIContext& ui, int32_t id, float& setting, const char* storedAs, const char* label)
{
    float percent = setting * kPercent;
    const float before = percent;
    uiSlider(ui, id, 0.0f, kPercent, percent, kOptionsLayer, "int");
    if (percent != before) {
        setting = percent / kPercent;
        StoreSetting(storedAs, FractionText(setting + 1.0f));
    }
    LabelRight(ui, label, glm::vec4(1.0f, 1.0f, 1.0f, setting));
}

// A drop-down over a fixed list, bound to a setting; a stored index outside
// the list shows and keeps the first entry.
void DrawChoice(UIContext& ui, int32_t id, int32_t& setting, const std::vector<std::string>& options)
{
    setting = std::clamp(setting, 0, static_cast<int32_t>(options.size()) - 1);
    std::string label = options[static_cast<size_t>(setting)];
    if (uiDropDown(ui, id, label, setting, options, "gui-2", kOptionsLayer))
        PlayGUISound("gui_button");
}

void ToggleRelativeDisplay(RenderManager& view)
{
    PlayGUISound("gui_button");
    view.radarRelativePositions = !view.radarRelativePositions;
    StoreSetting("r2D.relativePositions", view.radarRelativePositions ? "on" : "off");
}

void CycleWeaponArcs(RenderManager& view)
{
    PlayGUISound("gui_button");
    view.radarArcMode = (std::clamp(view.radarArcMode, 0, RenderManager::kMaxArcMode) + 1) % (RenderManager::kMaxArcMode + 1);
    StoreSetting("r2D.showArcMode", std::to_string(view.radarArcMode));
}

void DrawDragThreshold(UIContext& ui, RenderManager& view)
{
    const float before = view.radarDragThreshold;
    uiSlider(ui, kDragThresholdId, 0.0f, static_cast<float>(RenderManager::kMaxDragThreshold), view.radarDragThreshold,
             kOptionsLayer, "int");
    const int32_t pixels = static_cast<int32_t>(view.radarDragThreshold);
    if (view.radarDragThreshold != before)
        StoreSetting("r2D.dragThreshold", std::to_string(pixels));
    LabelRight(ui, std::to_string(pixels) + " :Drag Threshold", kWhite);
}

// What a connected console plays with, below the two buttons: the views'
// settings live in the render manager, the helm's in the console settings.
void DrawPlaySettings(UIContext& ui, RenderManager& view, ConsoleSettings& settings)
{
    ui.ShiftRectY(1, kGap);
    DrawFractionSlider(ui, kNavRingId, view.navRingBrightness, "r3D.navRingBrightness", "Navigation Ring Brightness");
    ui.ShiftRectY(1, kGap);
    DrawFractionSlider(ui, kPanelOpacityId, view.panelOpacity, "panelOpacity", "GUI Panel Transpar");
    ui.ShiftRectY(1, kGap);
    DrawChoice(ui, kHelmId, settings.helmMode, kHelmOptions);
    ui.ShiftRectY(1, kGap);
    DrawChoice(ui, kFlashId, settings.damageFlashStyle, kVisualOptions);
    ui.ShiftRectY(1, kGap);
    const bool relativePressed = OptionsHotKeyPressed(kRelativeKey);
    if (uiCheckButton(ui, kRelativeId, "Relative 2D Display", "gui-2", view.radarRelativePositions, true,
                      kOptionsLayer) ||
        relativePressed)
        ToggleRelativeDisplay(view);
    ui.ShiftRectY(1, kGap);
    const size_t arcMode = static_cast<size_t>(std::clamp(view.radarArcMode, 0, RenderManager::kMaxArcMode));
    if (OptionsButton(ui, kArcsId, std::string("Weapon Arcs: ") + kArcNames[arcMode], kArcsKey))
        CycleWeaponArcs(view);
    ui.ShiftRectY(1, kGap);
    DrawDragThreshold(ui, view);
}

SceneFunction Draw(UIContext& ui, const MenuBackdrop& backdrop, RenderManager* view)
{
    BeginOptionsScreen(ui, backdrop);
    const bool leave = OptionsHotKeyPressed(kOptionsLeaveKey);
    if (OptionsButton(ui, kOptionsFirstId, "Back", kContinueKey) || leave) {
        PlayGUISound("gui_button");
        return SceneClientOptionsMode;
    }
    ui.ShiftRectY(1, kGap);
    if (OptionsButton(ui, kJoystickId, "Joystick", kJoystickKey)) {
        PlayGUISound("gui_button");
        return SceneJoystickTestMode;
    }
    ConsoleState* console = SceneConsole(view);
    if (IsClientConnected() && console)
        DrawPlaySettings(ui, *view, console->settings);
    return SceneUIPlayOptionsMode;
}

void StoreHelmMode(const RenderManager* view)
{
    if (const ConsoleState* console = SceneConsole(view))
        StoreSetting("helm_mode_value", std::to_string(console->settings.helmMode));
}

}  // namespace

SceneFunction SceneUIPlayOptionsMode(SceneEvent event, SceneState& scenes, RenderManager* view)
{
    UIContext& ui = scenes.UI();
    switch (event) {
    case SCENE_LEAVE: StoreHelmMode(view); break;
    case SCENE_DRAW: return Draw(ui, ShellState::Of(scenes).backdrop, view);
    default: break;
    }
    return SceneUIPlayOptionsMode;
}
