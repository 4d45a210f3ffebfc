#include "game/widgets/WidgetTable.h"

#include "game/widgets/BridgeButtons.h"
#include "game/widgets/CommsWidgets.h"
#include "game/widgets/EngPresets.h"
#include "game/widgets/EngSystemControls.h"
#include "game/widgets/GUIBoxPlaceholder.h"
#include "game/widgets/GUIBoxThrottle.h"
#include "game/widgets/HelmSteering.h"
#include "game/widgets/JumpControls.h"
#include "game/widgets/MainScreenControl.h"
#include "game/widgets/ScienceDataWidget.h"
#include "game/widgets/ScienceTabWidgets.h"
#include "game/widgets/ShipDataWidget.h"
#include "game/widgets/TextWaterfallWidget.h"
#include "game/widgets/View2DWidgets.h"
#include "game/widgets/View3DWidgets.h"
#include "game/widgets/WeaponsWidgets.h"

namespace {

// One row per widget. The documentation texts are the lines a person laying
// out consoles reads; they stand as written.
constexpr ConsoleWidgetRow kWidgets[] = {
    {"2dview", View2DViewDraw, "draws the 2d radar showing all the space objects"},
    {"3dview", View3DViewDraw, "Draws the 3d view out the front of the player's ship"},
    {"3dview_camera", View3DViewCameraDraw, "Draws the 3d view; for use by manual beam view"},
    {"comms_2d_view", ViewComms2DViewDraw, "shows the 2d radar view, but specifically for science"},
    {"comms_control", ViewCommsControlDraw,
     "Shows all the buttons that let the comms player send commands to other ships"},
    {"comms_face", ViewCommsFaceDraw, "draws the face of the associated comms-selected space object"},
    {"comms_sorted_list", ViewCommsSortedListDraw,
     "shows the list of space objects that are available for comms to communicate with"},
    {"comms_waterfall", ViewCommsWaterfallDraw, "shows all the messages recived by the comms player"},
    {"eng_heat_controls", ViewEngHeatControlsDraw,
     "shows the coolant dot buttons and the heat values of the four ship systems"},
    {"eng_power_controls", ViewEngPowerControlsDraw,
     "draws the sliders for engineering to control power to the systems."},
    {"eng_presets", ViewEngPresetsDraw, "draws buttons for store/recall of engineering presets."},
    {"fighter_control", DrawPlaceholderWidget, "request dock and undock button, for the helm console"},
    {"grid_control", DrawPlaceholderWidget,
     "similar to the button list for comms, this is a list of buttons for eng to command grid objects"},
    {"grid_face", DrawPlaceholderWidget, "this shows the face of the accociated selected grid object (in eng)"},
    {"grid_object_list", DrawPlaceholderWidget,
     "this shows a vertical list of the grid objects, so the engeineer can click and select them"},
    {"helm_free_3d", ViewHelmFree3DDraw,
     "this is a helm control for when the ship must be controlled by full-3d movment"},
    {"helm_jump", ViewHelmJumpDraw, "jump drive controls for helm"},
    {"helm_movement", ViewHelmMovementDraw, "same as helm_normal_movement"},
    {"helm_normal", ViewHelmNormalDraw,
     "this helm widget steers the ship, according to one of three options chosen by the player on the options "
     "screen.  For normal capital ships, use this."},
    {"helm_restrained_3d", ViewHelmRestrained3DDraw,
     "this helm control steers the ship in full 3d, but restrains it, pulling it back down to the galactic plane."},
    {"helm_simple", ViewHelmSimpleDraw,
     "this helm widget controls the ship, but in a very simple, 2D way.  For beginners."},
    {"main_screen_control", ViewMainScreenControlDraw,
     "this normally appears on helm and weap.  It controls the view of the main screen."},
    {"quick_jump", ViewQuickJumpDraw,
     "helm widget that lets the player instant-jump small ships forward and backward, and see the cooldown state."},
    {"radar_zoom_ctrl", ViewRadarZoomCtrlDraw, "buttons to adjust 2d radar zoom level."},
    {"red_alert", ViewRedAlertDraw, "simple red alert button; controls the red alert state of the players ship"},
    {"request_dock", ViewRequestDockDraw, "request dock and undock button, for the helm console"},
    {"science_2d_view", ViewScience2DViewDraw, "shows the 2d radar view, but specifically for science"},
    {"science_data", ViewScienceDataDraw,
     "for the science console, this shows data about the current science space object selection"},
    {"science_data_freq", ViewScienceDataFreqDraw,
     "for the science console, this shows data about the current science space object selection"},
    {"science_data_tabs", ViewScienceDataTabsDraw,
     "for the science console, this shows tabs for data about the current science space object selection"},
    {"science_sorted_list", ViewScienceSortedListDraw, "shows a vertical list of space objects, for science to select"},
    {"shield_control", ViewShieldControlDraw, "button to toggle the shields up or down."},
    {"ship_data", ViewShipDataDraw,
     "this widget should proably appear on every console.  It shows the data of the player's ship."},
    {"ship_internal_view", DrawPlaceholderWidget,
     "this shows the grid view of the inside of the player's ship, and displays all the grid objects currently on "
     "the grid"},
    {"text_waterfall", ViewTextWaterfallDraw,
     "this widget should be on every console, including the main screen.  It shows terse messages sent to the "
     "player(s) by the script."},
    {"throttle", ViewThrottleDraw, "helm widget to control the speed of the ship.  vertical and colorful."},
    {"weap_beam_freq", ViewWeapBeamFreqDraw,
     "weapons control to set the beam frequency of the player ship's beam shots."},
    {"weap_beam_speed", ViewWeapBeamSpeedDraw,
     "weapon widget that sets the beam speed of the player's ship.  Slow shots are full-damage, fast shots are "
     "lower damage."},
    {"weap_torp_conversion", ViewWeapTorpConversionDraw,
     "this weapon console widget lets you trade a homing torpedo for energy, or energy for a torpedo."},
    {"weapon_2d_view", ViewWeapon2DViewDraw,
     "like the other 2d views, this is the 2d radar display, but it's specifically for the weapons console."},
    {"weapon_control", ViewWeaponControlDraw, "this is the control for the torpedoes.  Load, unload and fire them."},
};

}  // namespace

std::span<const ConsoleWidgetRow> ConsoleWidgetTable()
{
    return kWidgets;
}
