#pragma once
// The keyed values of a player ship, each declared once with the sentence its
// set-up records beside it. The consoles read them through replication, the
// server's command handler writes the helm, weapons and engineering keys, and
// mission scripts may read and change any of them.

#include "game/behaviours/BehaviourSupport.h"
#include "game/world/DataKey.h"
#include "game/world/ShipKeys.h"

namespace playership {

// The keys the world and the other behaviours read and write too.
using behaviours::kGravityRadius;
using behaviours::kGravityStrength;
using behaviours::kHealTimer;
using behaviours::kPullStrength;
using behaviours::kPullVectorX;
using behaviours::kPullVectorY;
using behaviours::kPullVectorZ;
using behaviours::kTurbulenceLevel;
using behaviours::kTurbulenceStrength;
using shipkeys::kExciting;
using shipkeys::kJumpEnergyCost;
using shipkeys::kNameTag;
using shipkeys::kShieldCount;
using shipkeys::kShieldMaxVal;
using shipkeys::kShieldsRaisedFlag;
using shipkeys::kShieldVal;
using shipkeys::kTorpedoMaxSuffix;
using shipkeys::kTorpedoNumSuffix;
using shipkeys::kTorpedoTubeCount;

// Identity and scan information.
inline constexpr DataKey kHullOrigin{"hull_origin", "scan information (from 'origin' in shipData.json"};
inline constexpr DataKey kHullSide{"hull_side", "scan information (from 'side' in shipData.json"};
inline constexpr DataKey kHullName{"hull_name", "scan information (from 'name' in shipData.json"};
inline constexpr DataKey kLongDescription{"long_description", "basic scan description (from 'long_desc' in shipData.json"};
inline constexpr DataKey kIsFighterFlag{"is_fighter_flag", "flag for if this player ship is a fighter; 1 = true"};
inline constexpr DataKey kIsShuttleFlag{"is_shuttle_flag", "flag for if this player ship is a shuttle; 1 = true"};
inline constexpr DataKey kBayCount{"bay_count",
    "number of small ships this capitol ship can normally carry inside itself(from shipData.json"};
inline constexpr DataKey kMeshRotateSide{"mesh_rotate_side", "rotation correction for ship mesh(0-3)(from shipData.json"};

// Drive coefficients.
inline constexpr DataKey kTurnRate{"turn_rate", "how fast the ship will turn. Based on data from shipData.json."};
inline constexpr DataKey kTurnDamageCoeff{"turn_damage_coeff",
    "a coeffient of how fast the ship will turn.  Used to reflect damage."};
inline constexpr DataKey kTurnUpgradeCoeff{"turn_upgrade_coeff",
    "a coeffient of how fast the ship will turn.  Used to reflect upgrades."};
inline constexpr DataKey kImpulseDamageCoeff{"impulse_damage_coeff",
    "a coeffient of how fast the ship will move in impulse.  Used to reflect damage."};
inline constexpr DataKey kImpulseUpgradeCoeff{"impulse_upgrade_coeff",
    "a coeffient of how fast the ship will move in impulse.  Used to reflect upgrades."};
inline constexpr DataKey kWarpDamageCoeff{"warp_damage_coeff",
    "a coeffient of how fast the ship  will move in warp.  Used to reflect damage.  "};
inline constexpr DataKey kWarpUpgradeCoeff{"warp_upgrade_coeff",
    "a coeffient of how fast the ship will move in warp.  Used to reflect upgrades."};
inline constexpr DataKey kJumpDamageCoeff{"jump_damage_coeff",
    "a coeffient of how fast the ship  will charge the jump drive.  Used to reflect damage.  "};
inline constexpr DataKey kJumpUpgradeCoeff{"jump_upgrade_coeff",
    "a coeffient of how fast the ship will charge the jump drive.  Used to reflect upgrades."};

// Energy.
inline constexpr DataKey kShipEnergyCost{"ship_energy_cost",
    "a coeffient of how fast the ships energy will be reduced.  Based on data from shipData.json."};
inline constexpr DataKey kWarpEnergyCost{"warp_energy_cost",
    "a coeffient of how fast the ships energy will be reduced while warping.  Based on data from shipData.json."};
inline constexpr DataKey kShipApuOutput{"ship_apu_output",
    "This number is added to the ship's 'energy' value every SLOW_TICK, which is about 1/2 second."};
inline constexpr DataKey kShipApuCeiling{"ship_apu_ceiling",
    "If the ships energy is below this value, the apu adds power to the ship."};
inline constexpr DataKey kEnergy{"energy", "current operating energy (fuel) this player ship contains"};

// Cooling and system damage, one value per ship system (SHPSYS).
inline constexpr DataKey kCoolantUpgradeCoeff{"coolant_upgrade_coeff",
    "a coeffient of how fast a dot of coolant will cool a system. increase because of coolant system upgrade "
    "(better pipes and pumps)."};
inline constexpr DataKey kCoolantDamageCoeff{"coolant_damage_coeff",
    "a coeffient of how fast a dot of coolant will cool a system. increase because of bad coolant, the cheap "
    "stuff, or sabotaged."};
inline constexpr DataKey kSystemDamage{"system_damage", ""};
inline constexpr DataKey kSystemMaxDamage{"system_max_damage", ""};
inline constexpr DataKey kSystemCoolantSetting{"system_coolant_setting",
    "how you set the coolant slider for this system (0-1)  (this value is deprecated; no longer used)"};
inline constexpr DataKey kSystemCoolantUsed{"system_coolant_used",
    "how many actual coolant units you're using for this system"};
inline constexpr DataKey kSystemCurHeat{"system_cur_heat", "how much heat is in this system right now (0-1)"};
inline constexpr DataKey kSystemCoolantAvailable{"system_coolant_available",
    "this is how much coolant the ship current carries."};
inline constexpr DataKey kSystemLastCoolantChange{"system_last_coolant_change",
    "this is the last coolant slider changed (0-3)"};

// Powered subsystems (engineering sliders), one value per subsystem.
inline constexpr DataKey kEngControlValue{"eng_control_value", "slider setting for this powered subsystem"};
inline constexpr DataKey kEngControlLabel{"eng_control_label", "text name of this powered subsystem"};
inline constexpr DataKey kEngControlTypeIndex{"eng_control_type_index",
    "which ship system (0-3) is associated with this powered subsystem"};
inline constexpr DataKey kEngControlCostCoeff{"eng_control_cost_coeff",
    "coeff of the energy cost of this powered subsystem"};
// The slider of shield facing 0; the next facings follow it.
inline constexpr int32_t kFirstShieldSlider = 6;
// Engineering has sliders for at most this many powered subsystems: walks
// over them stop here even if a script labels more.
inline constexpr int32_t kMaxPoweredSubsystems = 100;

// Sensors and scans.
inline constexpr DataKey kNumExtraScanSources{"num_extra_scan_sources",
    "number of elements in the 'extra_scan_source' blob value array"};
inline constexpr DataKey kExtraScanSource{"extra_scan_source",
    "array of Space Object IDs, each of which will share their scan/detect data with this ship"};
inline constexpr DataKey kCurFriendIndex{"curFriendIndex",
    "index of the extra scan source whose sensors served this ship last"};
inline constexpr DataKey kSensorDamageCoeff{"sensor_damage_coeff", "damage coefficient for the sensors of this ship."};
inline constexpr DataKey kSensorUpgradeCoeff{"sensor_upgrade_coeff",
    "upgrade coefficient for the sensors of this ship."};
inline constexpr DataKey kShipBaseScanRange{"ship_base_scan_range", "minimum visibility range of this player ship"};
inline constexpr DataKey kScanTypeForSystemDamage{"scan_type_for_system_damage",
    "system damage info for a scanned target will only show on the scan tab that is in this string variable."};
inline constexpr DataKey kScanTypeForShldFreq{"scan_type_for_shld_freq",
    "shield frequency data for a scanned target will only show on the scan tab that is in this string variable."};
inline constexpr DataKey kClosestScanDelay{"closest_scan_delay", "scan speed of a target when it's right next to you"};
inline constexpr DataKey kFarthestScanDelay{"farthest_scan_delay",
    "scan speed of a target when it's at the maximum range of your scanning ring"};
inline constexpr DataKey kScanStrengthCoeff{"scan_strength_coeff", "scan strength coeff for this ship (in shipData.json"};
inline constexpr DataKey kShipScienceScanRange{"ship_science_scan_range",
    "current science visibility range of this player ship"};
// Not 0: the ship's sources show static objects too, and its radar nebulae
// and asteroids at any zoom.
inline constexpr DataKey kHighInformationShipFlag{"high_information_ship_flag", kPlayDoc};

// Docking.
inline constexpr DataKey kDockState{"dock_state", "dock_state is 'undocked', 'docked' or 'docking'"};
inline constexpr const char* kDockStateUndocked = "undocked";
inline constexpr const char* kDockStateDocking = "docking";
inline constexpr DataKey kDockBaseId{"dock_base_id",
    "unique_ID of the space object this player ship is close enough to dock to"};
inline constexpr DataKey kImpulseWhileDocked{"impulse_while_docked", "boolean flag for whether feature is allowed"};
inline constexpr DataKey kWarpWhileDocked{"warp_while_docked", "boolean flag for whether feature is allowed"};
inline constexpr DataKey kJumpWhileDocked{"jump_while_docked", "boolean flag for whether feature is allowed"};

// Weapons.
inline constexpr DataKey kAllTubeDamageCoeff{"all_tube_damage_coeff", "(float) damaged coefficient for all tubes."};
inline constexpr DataKey kAllTubeUpgradeCoeff{"all_tube_upgrade_coeff", "(float) upgraded coefficient for all tubes."};
inline constexpr DataKey kAllBeamDamageCoeff{"all_beam_damage_coeff",
    "(float) how much every beam port is affected by internal damage"};
inline constexpr DataKey kAllBeamUpgradeCoeff{"all_beam_upgrade_coeff",
    "(float) how much every beam port is affected by upgrades"};
inline constexpr DataKey kTorpedoTypesAvailable{"torpedo_types_available",
    "This contains a comma separated list of the torpedos the weapons officer can choose from on this ship."};
inline constexpr DataKey kTubeDamageCoeff{"tube_damage_coeff",
    "(array float) damage coefficient for this specific toredo tube loading speed."};
inline constexpr DataKey kTubeUpgradeCoeff{"tube_upgrade_coeff",
    "(array float) upgrade coefficient for this specific toredo tube loading speed."};
inline constexpr DataKey kTorpTypeFromEnergy{"torp_type_from_energy",
    "this string defines what type of torp will be made from energy conversion."};
inline constexpr DataKey kEnergyToTorpCost{"energy_to_torp_cost", "How much energy does it cost to convert to a torpedo."};

// Beams, one value per beam port in use.
inline constexpr DataKey kBeamCount{"beamCount", "num of beams currently on the ship/space object"};
inline constexpr DataKey kBeamRange{"beamRange", "range of this beam (indexed)"};
inline constexpr DataKey kBeamArcWidth{"beamArcWidth", "width/arc this beam can fire within (indexed)(degrees)"};
inline constexpr DataKey kBeamDamage{"beamDamage", "base damage this beam does (indexed)"};
inline constexpr DataKey kBeamCycleTime{"beamCycleTime", "delay (in seconds) before this beam can fire again (indexed)"};
inline constexpr DataKey kBeamBarrelAngle{"beamBarrelAngle",
    "angle this beam is pointed (indexed)(degrees); if larger than 999, the angle of the beam is assumed to be a "
    "line from the center of the ship to the beam point."};
inline constexpr DataKey kBeamColorR{"beamColorR", "red color value of this beam (indexed)"};
inline constexpr DataKey kBeamColorG{"beamColorG", "green color value of this beam (indexed)"};
inline constexpr DataKey kBeamColorB{"beamColorB", "blue color value of this beam (indexed)"};
inline constexpr DataKey kBeamColorA{"beamColorA",
    "alpha color value of this beam (indexed)(probably does nothing, since beams are drawn additively)"};
inline constexpr DataKey kBeamHullPointX{"beamHullPointX", "(array float) x value of this beam's location on hull (indexed)"};
inline constexpr DataKey kBeamHullPointY{"beamHullPointY", "(array float) x value of this beam's location on hull (indexed)"};
inline constexpr DataKey kBeamHullPointZ{"beamHullPointZ", "(array float) x value of this beam's location on hull (indexed)"};
inline constexpr DataKey kBeamDamageCoeff{"beam_damage_coeff",
    "(array float) how much this beam port is affected by its beam-specific internal damage"};
inline constexpr DataKey kBeamUpgradeCoeff{"beam_upgrade_coeff",
    "(array float) how much this beam port is affected by beam-specific upgrades"};

// Shields, one value per facing where indexed.
inline constexpr DataKey kAllShieldDamageCoeff{"all_shield_damage_coeff",
    "(float) how much all shields are affected by internal damage"};
inline constexpr DataKey kAllShieldUpgradeCoeff{"all_shield_upgrade_coeff",
    "(float) how much all shields are affected by shield-specific factors like upgrades"};
inline constexpr DataKey kShieldDamageCoeff{"shield_damage_coeff",
    "(array float) how much this shield is affected by its internal damage"};
inline constexpr DataKey kShieldUpgradeCoeff{"shield_upgrade_coeff",
    "(array float) how much this shield is affected by shield-specific factors like upgrades"};
inline constexpr DataKey kShieldFreqStrength{"shield_freq_strength",
    "shield frequency strength vs beam attacks (0-100%)"};

// Drives fitted.
inline constexpr DataKey kWarpDriveActive{"warp_drive_active",
    "this flag (0 or 1) tells the game that this player ship has warp drive"};
inline constexpr DataKey kJumpDriveActive{"jump_drive_active",
    "this flag (0 or 1) tells the game that this player ship has jump drive"};
inline constexpr DataKey kQuickJumpRechargeRate{"quick_jump_recharge_rate", "base rate of quick jump recharge"};
inline constexpr DataKey kQuickJumpRechargeState{"quick_jump_recharge_state", "quick jump recharge state (0.0-1.0)"};

// Helm inputs, written by the helm console through the server and by scripts.
inline constexpr DataKey kPlayerThrottle{"playerThrottle",
    "throttle on a player ship; set from 0.0-5.0, anything over 1.0 is warp"};
inline constexpr DataKey kPlayerSYaw{"playerSYaw", "yaw steering on a player ship; -1 to 1"};
inline constexpr DataKey kPlayerSPitch{"playerSPitch", "pitch steering on a player ship; -1 to 1"};
inline constexpr DataKey kPlayerSRoll{"playerSRoll", "roll steering on a player ship; -1 to 1"};
inline constexpr DataKey kSteeringType{"steeringType",
    "tag for type of steering messages coming from the client helm control"};
// The steering types that fly differently; any other text steers freely.
inline constexpr const char* kSteering2D = "2D";
inline constexpr const char* kSteeringConstrained = "Constrained";

// Helm inputs other code writes during play; no set-up declares them.
inline constexpr DataKey kPlayerInReverse{"playerInReverse", "a"};
inline constexpr DataKey kSteeringToDirFlag{"steeringToDirFlag",
    "set this to 1, if the ship should automatically steer towards the relative position in steerToDirD*.  "
    "Used for helm click-to-turn."};
inline constexpr DataKey kSteerToDirDX{"steerToDirDX",
    "X distance from this ship to place this ship should steer towards automatically."};
inline constexpr DataKey kSteerToDirDY{"steerToDirDY",
    "Y distance from this ship to place this ship should steer towards automatically."};
inline constexpr DataKey kSteerToDirDZ{"steerToDirDZ",
    "Z distance from this ship to place this ship should steer towards automatically."};
inline constexpr DataKey kFighterThrustFlag{"fighter_thrust_flag",
    "This flag (0 or 1) tracks if the fighter ship is using thrust."};
inline constexpr DataKey kFighterBoostFlag{"fighter_boost_flag",
    "This flag (0 or 1) tracks if the fighter ship is using boost."};
inline constexpr DataKey kTotalSpeedCoeff{"total_speed_coeff", "a"};
inline constexpr DataKey kJumpStart{"jump_start", "a"};   // tick the charge began
inline constexpr DataKey kJumpEnd{"jump_end", "a"};       // tick the pending jump completes; 0 = none
inline constexpr DataKey kJumpDir{"jump_dir", "a"};       // degrees, 0 along +Z
inline constexpr DataKey kJumpDist{"jump_dist", "a"};     // thousands of units
inline constexpr DataKey kInsideNebulaCount{"inside_nebula_count", "a"};
inline constexpr DataKey kInsideNebulaId{"inside_nebula_id", "a"};

// Keys of other objects that the helm reads: a nebula's and a gravity well's.
inline constexpr DataKey kNebulaMaxThrottle{"max_throttle", "a"};
inline constexpr DataKey kNebulaEffectSize{"effect_size", "a"};

// Science: the scan under way, and each object's scans by the scanning side
// (indexed by the side's name): empty until that side has scanned it.
inline constexpr DataKey kCurScanPercent{"cur_scan_percent", "a"};  // 0..1
inline constexpr DataKey kCurScanId{"cur_scan_ID", "a"};
inline constexpr DataKey kCurScanType{"cur_scan_type", "a"};
inline constexpr DataKey kScan{"scan", "a"};

// Weapons settings the weapons and fighter consoles send.
inline constexpr DataKey kTorpedoSelectedType{"torpedo_selected_type", "a"};  // the type the tubes load
inline constexpr DataKey kCurBeamFreq{"cur_beam_freq", "a"};                  // 0..4
inline constexpr DataKey kCurBeamSpeedSetting{"cur_beam_speed_setting",
    "value 0-3, 0 is 100 beam speed, which means the beam will wait to fully charge.  3 is 25%, which will fire 4 "
    "times faster, with 1/4 the damage"};
inline constexpr DataKey kFighterShootFlag{"fighter_shoot_flag",
    "This flag (0 or 1) tracks if the fighter ship is holding down the fire button/key."};
// The fighter's speed bar is scaled to the fastest it has been seen to fly.
inline constexpr DataKey kFighterBestObservedSpeed{"fighter_best_observed_speed", "a"};
// A target's shields as the weapons officer matched them.
inline constexpr DataKey kShieldPierceAmplitude{"shield_pierce_amplitude",
    "value set by weapons officer, to match the target ship's shields, and do damage to the hull of the target"};
inline constexpr DataKey kShieldPierceFrequency{"shield_pierce_frequency", kShieldPierceAmplitude.doc};
inline constexpr DataKey kShieldPierceOffset{"shield_pierce_offset", kShieldPierceAmplitude.doc};

// Recent hits, counted down by the slow pass.
inline constexpr DataKey kShieldHitCounter{"shield_hit_counter",
    "value that (if greater than zero) signals recent damage was taken"};
inline constexpr DataKey kHullHitCounter{"hull_hit_counter", kShieldHitCounter.doc};

// Presentation and repairs.
inline constexpr DataKey kCameraTargetUID{"camera_target_UID", "ID of space object that the 3d camera looks towards"};
inline constexpr DataKey kReferenceRing3dBrightness{"reference_ring_3d_brightness",
    "percent of brightness of 3d ref ring for this player ship (overrides user setting, range is 0.0-1.0)"};
inline constexpr DataKey kOvergridOffsetX{"overgrid_offset_x", "offset to center of 2d radar grid (x)"};
inline constexpr DataKey kOvergridOffsetZ{"overgrid_offset_z", "offset to center of 2d radar grid (z)"};
inline constexpr DataKey kRepairRateShields{"repair_rate_shields", "rate shields are fixed on this ship"};
inline constexpr DataKey kRepairRateSystems{"repair_rate_systems", "rate system are fixed on this ship"};
inline constexpr DataKey kEliteLowVis{"elite_low_vis", "Set to 1 if this ship has restricted 2d radar visibility."};
inline constexpr DataKey kEliteLowVisDistance{"elite_low_vis_distance",
    "float, if 'elite_low_vis' is active, the npc ship cannot be seen beyond this distance (on the 2d radar)"};
inline constexpr DataKey kEliteMainScnInvis{"elite_main_scn_invis",
    "Set to 1 if this ship does not appear on the main screen 2d radar."};
inline constexpr DataKey kEliteDroneLauncher{"elite_drone_launcher", "Set to 1 if this ship has drones."};

// Engineering's colours, taken from the preferences of the same names.
inline constexpr DataKey kInternalColorShipSillouette{"internal_color_ship_sillouette",
    "text value of color, for the ship sillouette shown in engineering"};
inline constexpr DataKey kInternalColorShipLines{"internal_color_ship_lines",
    "text value of color, for the ship lines shown in engineering"};
inline constexpr DataKey kInternalColorShipNodes{"internal_color_ship_nodes",
    "text value of color, for the ship nodes shown in engineering"};
// The grid object engineering has chosen (a grid-object id, 0 for none),
// which the server writes; and the icon that marks the cell under the pointer
// on the interior view (0 for the default).
inline constexpr DataKey kGridSelectedUID{"grid_selected_UID", "a"};
inline constexpr DataKey kGridSelectionIconIndex{"grid_selection_icon_index", "a"};
inline constexpr DataKey kCoolantDotActiveColor{"coolant_dot_active_color",
    "text value of color, for the active coolant dots shown in engineering"};
inline constexpr DataKey kCoolantDotReserveColor{"coolant_dot_reserve_color",
    "text value of color, for the reserve coolant dots shown in engineering"};

}  // namespace playership
