#pragma once
// The keyed values of a space station, each declared once with the sentence
// its set-up records beside it. The mission sets the station's target, its
// beams ("beamCount" and the indexed beam keys) and its launchers; the
// station never chooses a target itself. Keys ships share keep their
// declarations.

#include "game/behaviours/BehaviourSupport.h"
#include "game/behaviours/NPCShipKeys.h"
#include "game/world/DataKey.h"

namespace station {

using namespace npcship;
using behaviours::kShownNameTag;

inline constexpr DataKey kStationBayCount{"bay_count",
    "number of small ships this station can normally carry inside itself(from shipData.json"};
inline constexpr DataKey kArmor{"armor", "armor points left on station"};
inline constexpr DataKey kArmorMax{"armorMax", "armor points initially on station"};
inline constexpr DataKey kRepairRateArmor{"repair_rate_armor", "rate hulls are fixed on this ship"};

// Torpedo stock: ten of each type, which the station provides to ships.
inline constexpr DataKey kTorpedoBuildType{"torpedo_build_type",
    "torpedo type (a string) currently being manufactured in this space object"};
inline constexpr DataKey kStationTorpedoTypes{"torpedo_types_available",
    "This contains a comma separated list of the torpedo types this station will provide."};

// Torpedo launches the mission orders: the interval in seconds (0 or less:
// none), the range within which the target is fired at, the deadline of the
// next launch and the name of the torpedo definition in the server string
// map.
inline constexpr DataKey kTorpLaunchTimer{"torp_launch_timer", kPlayDoc};
inline constexpr DataKey kTorpLaunchMaxRange{"torp_launch_max_range", kPlayDoc};
inline constexpr DataKey kTorpTimer{"torpTimer", kPlayDoc};
inline constexpr DataKey kTorpedoLaunchType{"torpedoLaunchType", kPlayDoc};

// Beams examined at most, whatever "beamCount" says.
inline constexpr int32_t kMaxStationBeams = 50;

}  // namespace station
