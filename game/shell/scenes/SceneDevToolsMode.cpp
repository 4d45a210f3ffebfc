// The menu of the program's tool and test scenes, reached from the options
// through "Game Data Edit Options": the ship librarian, the hull paths, the
// nebula visualiser, the pathing test, the hyperspace demo and the monster
// shader test, each of which comes back here. "Back" (or Escape) returns to
// the options.

#include "game/shell/scenes/OptionsScreen.h"
#include "game/shell/scenes/Scenes.h"
#include "game/shell/scenes/ShellState.h"
#include "game/ui/GUISound.h"
#include "game/ui/UIContext.h"
#include "game/ui/UIControls.h"

#include <array>

namespace {

constexpr int32_t kBackId = 11;
constexpr int32_t kButtonGap = 6;

struct ToolButton {
    int32_t id;
    const char* label;
    SceneFunction::Fn scene;
};

const std::array<ToolButton, 6> kTools = {{
    {12, "Ship Librarian", SceneShipLibrarianMode},
    {13, "Ship Hullpaths", SceneHullPathTestMode},
    {14, "Nebula Visualiser", SceneNebulaEditMode},
    {15, "Pathing Test", ScenePathingTestMode},
    {16, "Hyperspace Demo", SceneHyperspaceDemoMode},
    {17, "Monster Shader Test", SceneMonsterShaderMode},
}};

// The first click found ends the draw: the buttons below it wait for the next frame.
SceneFunction Draw(UIContext& ui, const MenuBackdrop& backdrop)
{
    BeginOptionsScreen(ui, backdrop);
    const bool leave = OptionsHotKeyPressed(kOptionsLeaveKey);
    if (OptionsButton(ui, kBackId, "Back", kContinueKey) || leave) {
        PlayGUISound("gui_button");
        return SceneClientOptionsMode;
    }
    for (const ToolButton& tool : kTools) {
        ui.ShiftRectY(1, kButtonGap);
        if (uiButton(ui, tool.id, tool.label, "gui-2", true, kOptionsLayer)) {
            PlayGUISound("gui_button");
            return tool.scene;
        }
    }
    return SceneDevToolsMode;
}

}  // namespace

SceneFunction SceneDevToolsMode(SceneEvent event, SceneState& scenes, RenderManager*)
{
    UIContext& ui = scenes.UI();
    if (event == SCENE_DRAW)
        return Draw(ui, ShellState::Of(scenes).backdrop);
    return SceneDevToolsMode;
}
