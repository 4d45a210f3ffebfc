// The controller set-up screen: the set-up panel of the controller mapping
// with a ship the sticks steer beside it, the program's switch for all
// controllers, and the way back to the UI play options. The mappings are
// written when the screen is left.

#include "engine/base/QelGraphicsFactoryBase.h"
#include "game/render/ObjectTypeDrawData.h"
#include "game/render/manager/RenderManager.h"
#include "game/shell/scenes/OptionsScreen.h"
#include "game/shell/scenes/Scenes.h"
#include "game/shell/scenes/ShellState.h"
#include "game/ui/ControllerInput.h"
#include "game/ui/GUISound.h"
#include "game/ui/MachineSettings.h"
#include "game/ui/UIContext.h"
#include "game/ui/UIControls.h"

namespace {

constexpr const char* kPreviewTargetName = "SceneJoystickTestMode";
constexpr int kPreviewWidth = 400;
constexpr int kPreviewHeight = 300;
constexpr const char* kPreviewShip = "fleet_light_cruiser";
constexpr IntRect kPanelPosition{100, 100, 1000, 1000};
// The preview ship seen from its side, a little from behind, scaled to
// fill most of the preview whatever the size of its mesh.
constexpr float kPreviewAngle = -1.8849556f;
constexpr float kPreviewSpan = 1200.0f;
constexpr float kDefaultPreviewScale = 2.0f;

constexpr int32_t kExitId = 10;
constexpr int32_t kEnabledId = 11;
constexpr int32_t kExitWidth = 198;
constexpr int32_t kExitHeight = 33;

// The preview ship's drawing, kept by the render manager; null without one.
ObjectTypeDrawData* PreviewShip(RenderManager* view)
{
    return view ? view->GetObjectTypeDrawData(kPreviewShip) : nullptr;
}

float PreviewScale(RenderManager* view)
{
    const ObjectTypeDrawData* ship = PreviewShip(view);
    return ship && ship->size > 0.0f ? kPreviewSpan / ship->size : kDefaultPreviewScale;
}

void Enter(RenderManager* view)
{
    ControllerInput& controllers = theControllerInput;
    if (!gGraphicsFactory)
        return;
    controllers.previewTarget =
        gGraphicsFactory->GetRenderTarget(kPreviewTargetName, kPreviewWidth, kPreviewHeight, true);
    const ObjectTypeDrawData* ship = PreviewShip(view);
    controllers.previewObject = ship ? ship->mesh.get() : nullptr;
}

void Leave()
{
    theControllerInput.SaveAll();
    theControllerInput.previewTarget = nullptr;
    theControllerInput.previewObject = nullptr;
}

void ToggleControllers()
{
    PlayGUISound("gui_button");
    theControllerInput.controllerDisabled = !theControllerInput.controllerDisabled;
    StoreSetting("joystick_enabled_flag", theControllerInput.controllerDisabled ? "no" : "yes");
}

SceneFunction Draw(UIContext& ui, const MenuBackdrop& backdrop, RenderManager* view)
{
    backdrop.Draw(ui);
    theControllerInput.DrawSetupScreen(ui, kPanelPosition, kPreviewAngle, PreviewScale(view));
    const int32_t width = ui.WindowWidth();
    ui.SetCurrentRectEdges(width - 2 - kExitWidth, 2, width - 2, 2 + kExitHeight);
    const bool leave = OptionsHotKeyPressed(kOptionsLeaveKey);
    if (uiButton(ui, kExitId, "Exit", "gui-1", true, kOptionsLayer) || leave) {
        PlayGUISound("gui_button");
        return SceneUIPlayOptionsMode;
    }
    ui.ShiftRectY(1, 1);
    if (uiCheckButton(ui, kEnabledId, "Enabled", "gui-1", !theControllerInput.controllerDisabled, true, kOptionsLayer))
        ToggleControllers();
    return SceneJoystickTestMode;
}

}  // namespace

SceneFunction SceneJoystickTestMode(SceneEvent event, SceneState& scenes, RenderManager* view)
{
    UIContext& ui = scenes.UI();
    switch (event) {
    case SCENE_ENTER: Enter(view); break;
    case SCENE_LEAVE: Leave(); break;
    case SCENE_TICK: theControllerInput.ReadAxes(); break;
    case SCENE_DRAW: return Draw(ui, ShellState::Of(scenes).backdrop, view);
    default: break;
    }
    return SceneJoystickTestMode;
}
