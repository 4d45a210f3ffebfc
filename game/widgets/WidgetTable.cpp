#include "game/widgets/WidgetTable.h"

#include "game/widgets/BridgeButtons.h"
#include "game/widgets/CommsWidgets.h"
#include "game/widgets/EngPresets.h"
#include "game/widgets/EngSystemControls.h"
#include "game/widgets/FighterControl.h"
#include "game/widgets/GUIBoxThrottle.h"
#include "game/widgets/GridWidgets.h"
#include "game/widgets/HelmSteering.h"
#include "game/widgets/JumpControls.h"
#include "game/widgets/MainScreenControl.h"
#include "game/widgets/ScienceDataWidget.h"
#include "game/widgets/ScienceTabWidgets.h"
#include "game/widgets/ShipDataWidget.h"
#include "game/widgets/ShipInternalView.h"
#include "game/widgets/TextWaterfallWidget.h"
#include "game/widgets/View2DWidgets.h"
#include "game/widgets/View3DWidgets.h"
#include "game/widgets/WeaponsWidgets.h"

namespace {

// One row per widget of the console catalogue, by its name there.
constexpr ConsoleWidgetDraw kDraws[] = {
    {"2dview", View2DViewDraw},
    {"3dview", View3DViewDraw},
    {"3dview_camera", View3DViewCameraDraw},
    {"comms_2d_view", ViewComms2DViewDraw},
    {"comms_control", ViewCommsControlDraw},
    {"comms_face", ViewCommsFaceDraw},
    {"comms_sorted_list", ViewCommsSortedListDraw},
    {"comms_waterfall", ViewCommsWaterfallDraw},
    {"eng_heat_controls", ViewEngHeatControlsDraw},
    {"eng_power_controls", ViewEngPowerControlsDraw},
    {"eng_presets", ViewEngPresetsDraw},
    {"fighter_control", ViewFighterControlDraw},
    {"grid_control", ViewGridControlDraw},
    {"grid_face", ViewGridFaceDraw},
    {"grid_object_list", ViewGridObjectListDraw},
    {"helm_free_3d", ViewHelmFree3DDraw},
    {"helm_jump", ViewHelmJumpDraw},
    {"helm_movement", ViewHelmMovementDraw},
    {"helm_normal", ViewHelmNormalDraw},
    {"helm_restrained_3d", ViewHelmRestrained3DDraw},
    {"helm_simple", ViewHelmSimpleDraw},
    {"main_screen_control", ViewMainScreenControlDraw},
    {"quick_jump", ViewQuickJumpDraw},
    {"radar_zoom_ctrl", ViewRadarZoomCtrlDraw},
    {"red_alert", ViewRedAlertDraw},
    {"request_dock", ViewRequestDockDraw},
    {"science_2d_view", ViewScience2DViewDraw},
    {"science_data", ViewScienceDataDraw},
    {"science_data_freq", ViewScienceDataFreqDraw},
    {"science_data_tabs", ViewScienceDataTabsDraw},
    {"science_sorted_list", ViewScienceSortedListDraw},
    {"shield_control", ViewShieldControlDraw},
    {"ship_data", ViewShipDataDraw},
    {"ship_internal_view", ViewShipInternalViewDraw},
    {"text_waterfall", ViewTextWaterfallDraw},
    {"throttle", ViewThrottleDraw},
    {"weap_beam_freq", ViewWeapBeamFreqDraw},
    {"weap_beam_speed", ViewWeapBeamSpeedDraw},
    {"weap_torp_conversion", ViewWeapTorpConversionDraw},
    {"weapon_2d_view", ViewWeapon2DViewDraw},
    {"weapon_control", ViewWeaponControlDraw},
};

}  // namespace

std::span<const ConsoleWidgetDraw> ConsoleWidgetDraws()
{
    return kDraws;
}
