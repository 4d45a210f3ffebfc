#pragma once
// The keyed values of a computer-controlled ship, each declared once with the
// sentence its set-up records beside it. Mission scripts steer the ship only
// through these ("throttle", "target_pos_*", "target_id", "surrender_flag"...).
// Keys the player ship shares keep its declarations.

#include "game/behaviours/BehaviourSupport.h"
#include "game/behaviours/PlayerShipKeys.h"
#include "game/world/DataKey.h"

namespace npcship {

using namespace playership;
using behaviours::kDeathState;
using behaviours::kDeathTick;
using behaviours::kFractionalDamage;
using behaviours::kTargetId;

inline constexpr DataKey kRadarColorOverride{"radar_color_override",
    "force color of object on 2d radar map to this color (string)"};
inline constexpr DataKey kLocalScaleCoeff{"local_scale_coeff",
    "This float coeff modifies the visible size of this object, in 3D and (if applicable) in 2D views.  If this "
    "value is zero, it's unused."};
inline constexpr const char* kLocalAxisScaleDoc =
    "This float coeff modifies the visible size of this object (but only in one local axis!) in 3D and (if "
    "applicable) in 2D views.  If this value is zero, it's unused.";
inline constexpr DataKey kLocalScaleXCoeff{"local_scale_x_coeff", kLocalAxisScaleDoc};
inline constexpr DataKey kLocalScaleYCoeff{"local_scale_y_coeff", kLocalAxisScaleDoc};
inline constexpr DataKey kLocalScaleZCoeff{"local_scale_z_coeff", kLocalAxisScaleDoc};

// Movement and orders.
inline constexpr DataKey kNpcTurnRate{"turnRate", "a coeffient of how fast the ship will turn."};
inline constexpr DataKey kSpeedCoeff{"speed_coeff", "a coeffient of how fast the npc ship will move."};
inline constexpr DataKey kThrottle{"throttle", "how fast the npc ship is supposed to go; 0.0-1.0"};
inline constexpr DataKey kTargetPosX{"target_pos_x",
    "point in space that this npc ship is supposed to move towards (x component)"};
inline constexpr DataKey kTargetPosY{"target_pos_y",
    "point in space that this npc ship is supposed to move towards (y component)"};
inline constexpr DataKey kTargetPosZ{"target_pos_z",
    "point in space that this npc ship is supposed to move towards (z component)"};
inline constexpr DataKey kSurrenderFlag{"surrender_flag",
    "this flag shows the game that this ship is surrendered.  0 == not surrendered."};

// Drones.
inline constexpr DataKey kDroneLaunchTimer{"drone_launch_timer",
    "if not zero, this is the seconds between drone launches from this ship."};
inline constexpr DataKey kDroneLaunchMaxRange{"drone_launch_max_range",
    "if target is closer than this, drone launches from this ship."};
inline constexpr DataKey kNpcDroneDamage{"drone_damage",
    "a drone that launches from this ship does this damage when it hits something."};
inline constexpr DataKey kDroneTimer{"droneTimer", "a"};

// Systems, shields and beam timers.
inline constexpr DataKey kShieldWaveValue{"shield_wave_value", "a"};
inline constexpr DataKey kBeamTimer{"beamTimer", "tick value used to wait for a ship beam to be able to fire"};

// Ports examined at most, whatever "beamCount" says: hull records have 20.
inline constexpr int32_t kMaxBeamPorts = 50;

}  // namespace npcship
