// How the consoles of this machine play and show their views: the navigation
// ring's brightness, the panels' transparency, the helm mode, the damage
// flash, the 2D radar's relative display, weapon arcs and drag threshold;
// and the way to the controller set-up. Each view setting is stored the
// moment it changes, the helm mode when the screen is left.

#include "game/net/CorvaneClient.h"
#include "game/shell/ConsoleSettings.h"
#include "game/shell/GUISound.h"
#include "game/shell/MachineSettings.h"
#include "game/shell/UIControls.h"
#include "game/shell/UIContext.h"
#include "game/shell/scenes/OptionsScreen.h"
#include "game/shell/scenes/Scenes.h"

#include <algorithm>
#include <array>
#include <string>
#include <vector>

namespace {

constexpr OptionsHotKey kBackKey{"continue_button", LetterKey('C'), "clicks Continue button on client"};
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
constexpr std::array<const char*, ConsoleSettings::kArcModeCount> kArcNames{"All", "Players", "None"};

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
    uiSlider(id, 0.0f, kPercent, percent, kOptionsLayer, "int");
    if (percent != before) {
        setting = percent / kPercent;
        StoreSetting(storedAs, FractionText(setting + 1.0f));
    }
    LabelRight(ui, label, glm::vec4(1.0f, 1.0f, 1.0f, setting));
}

// A drop-down over a fixed list, bound to a setting; a stored index outside
// the list shows and keeps the first entry.
void DrawChoice(int32_t id, int32_t& setting, const std::vector<std::string>& options)
{
    setting = std::clamp(setting, 0, static_cast<int32_t>(options.size()) - 1);
    std::string label = options[static_cast<size_t>(setting)];
    if (uiDropDown(id, label, setting, options, "gui-2", kOptionsLayer))
        PlayGUISound("gui_button");
}

void ToggleRelativeDisplay(ConsoleSettings& settings)
{
    PlayGUISound("gui_button");
    settings.radarRelativePositions = !settings.radarRelativePositions;
    StoreSetting("r2D.relativePositions", settings.radarRelativePositions ? "on" : "off");
}

void CycleWeaponArcs(ConsoleSettings& settings)
{
    PlayGUISound("gui_button");
    settings.radarArcMode = (settings.radarArcMode + 1) % ConsoleSettings::kArcModeCount;
    StoreSetting("r2D.showArcMode", std::to_string(settings.radarArcMode));
}

void DrawDragThreshold(UIContext& ui, ConsoleSettings& settings)
{
    const float before = settings.radarDragThreshold;
    uiSlider(kDragThresholdId, 0.0f, static_cast<float>(ConsoleSettings::kMaxDragThreshold),
             settings.radarDragThreshold, kOptionsLayer, "int");
    const int32_t pixels = static_cast<int32_t>(settings.radarDragThreshold);
    if (settings.radarDragThreshold != before)
        StoreSetting("r2D.dragThreshold", std::to_string(pixels));
    LabelRight(ui, std::to_string(pixels) + " :Drag Threshold", kWhite);
}

// What a connected console plays with, below the two buttons.
void DrawPlaySettings(UIContext& ui)
{
    ConsoleSettings& settings = theConsoleSettings;
    ui.ShiftRectY(1, kGap);
    DrawFractionSlider(ui, kNavRingId, settings.navRingBrightness, "r3D.navRingBrightness",
                       "Navigation Ring Brightness");
    ui.ShiftRectY(1, kGap);
    DrawFractionSlider(ui, kPanelOpacityId, settings.panelOpacity, "panelOpacity", "GUI Panel Transpar");
    ui.ShiftRectY(1, kGap);
    DrawChoice(kHelmId, settings.helmMode, kHelmOptions);
    ui.ShiftRectY(1, kGap);
    DrawChoice(kFlashId, settings.damageFlashStyle, kVisualOptions);
    ui.ShiftRectY(1, kGap);
    const bool relativePressed = OptionsHotKeyPressed(kRelativeKey);
    if (uiCheckButton(kRelativeId, "Relative 2D Display", "gui-2", settings.radarRelativePositions, true,
                      kOptionsLayer) ||
        relativePressed)
        ToggleRelativeDisplay(settings);
    ui.ShiftRectY(1, kGap);
    const std::string arcs = std::string("Weapon Arcs: ") + kArcNames[static_cast<size_t>(
                                 std::clamp(settings.radarArcMode, 0, ConsoleSettings::kArcModeCount - 1))];
    if (OptionsButton(kArcsId, arcs, kArcsKey))
        CycleWeaponArcs(settings);
    ui.ShiftRectY(1, kGap);
    DrawDragThreshold(ui, settings);
}

SceneFunction Draw()
{
    UIContext& ui = theUIContext;
    BeginOptionsScreen();
    const bool leave = OptionsHotKeyPressed(kOptionsLeaveKey);
    if (OptionsButton(kOptionsFirstId, "Back", kBackKey) || leave) {
        PlayGUISound("gui_button");
        return SceneClientOptionsMode;
    }
    ui.ShiftRectY(1, kGap);
    if (OptionsButton(kJoystickId, "Joystick", kJoystickKey)) {
        PlayGUISound("gui_button");
        return SceneJoystickTestMode;
    }
    if (IsClientConnected())
        DrawPlaySettings(ui);
    return SceneUIPlayOptionsMode;
}

void StoreHelmMode()
{
    StoreSetting("helm_mode_value", std::to_string(theConsoleSettings.helmMode));
}

}  // namespace

SceneFunction SceneUIPlayOptionsMode(SceneEvent event)
{
    switch (event) {
    case SCENE_LEAVE: StoreHelmMode(); break;
    case SCENE_DRAW: return Draw();
    default: break;
    }
    return SceneUIPlayOptionsMode;
}
