#pragma once
// The keyed values of a ship's data set that the world's own operations read
// and write (damage, blasts, shield facings, torpedo launches, jumps), each
// declared once with its documentation sentence. The behaviours that set the
// same keys up declare them through these.

#include "game/world/DataKey.h"
#include "game/world/ShipDataRecord.h"

#include <algorithm>
#include <cstdint>
#include <string>

namespace shipkeys {

// Identity and the cinematic camera.
inline constexpr DataKey kNameTag{"name_tag", "a"};
inline constexpr DataKey kExciting{"exciting",
    "exciting is a value held by some space objects, used to make camera decisions for the cinematic mode"};

// A missile's colours, red, green and blue: the flare at its nose and the
// trail behind it.
inline constexpr DataKey kColorFlare[3] = {{"color_flare_r", kPlayDoc}, {"color_flare_g", kPlayDoc},
                                           {"color_flare_b", kPlayDoc}};
inline constexpr DataKey kColorTrail[3] = {{"color_trail_r", kPlayDoc}, {"color_trail_g", kPlayDoc},
                                           {"color_trail_b", kPlayDoc}};

// Shields, one value per facing where indexed.
inline constexpr DataKey kShieldsRaisedFlag{"shields_raised_flag", "flag for shields raised or lowered"};
inline constexpr DataKey kShieldCount{"shield_count", "num of shields this space object has"};
inline constexpr DataKey kShieldVal{"shield_val", "(array float) current points left in this shield"};
inline constexpr DataKey kShieldMaxVal{"shield_max_val", "(array float) most points this shield can have"};
// Facing walks (blasts, shield hits, the shield pass) stop at this many: no
// hull has more, and a count a script set far beyond it would keep a walk
// going for hours.
inline constexpr int32_t kMaxShieldFacings = 100;
// The wave the shield display animates; redrawn at random on each system hit.
inline constexpr DataKey kShieldWaveAmplitude{"shield_wave_amplitude", "for shield penetration GUI"};
inline constexpr DataKey kShieldWaveFrequency{"shield_wave_frequency", "for shield penetration GUI"};
inline constexpr DataKey kShieldWaveOffset{"shield_wave_offset", "for shield penetration GUI"};

// The ship's red alert, 0 or 1: its crew hurry.
inline constexpr DataKey kRedAlert{"red_alert", "int, state of red alert for this player ship (0 or 1)"};

// Jumps.
inline constexpr DataKey kJumpEnergyCost{"jump_energy_cost",
    "a coeffient of how fast the ships energy will be reduced while jumping.  Based on data from shipData.json."};

// Torpedo stock: the type's name followed by one of these suffixes.
inline constexpr DataKey kTorpedoMaxSuffix{"_MAX", "max capacity for this torpedo type on this ship."};
inline constexpr DataKey kTorpedoNumSuffix{"_NUM", "current number of this torpedo type on this ship."};
// Torpedo tubes, one value per tube where indexed.
inline constexpr DataKey kTorpedoTubeCount{"torpedo_tube_count",
    "num of torpedo tubes currently on the ship/space object"};
inline constexpr DataKey kTorpedoTubeState{"torpedoTubeState", kPlayDoc};  // "empty", "loading", "loaded"...
inline constexpr DataKey kTorpedoTubeCurrentType{"torpedoTubeCurrentType", kPlayDoc};  // "" when none
inline constexpr DataKey kTorpedoTubePercentLoaded{"torpedoTubePercentLoaded", kPlayDoc};
// A tube's states: the weapons console sets "loading" and "unloading", the
// ship's behaviour finishes them, and a launch empties a "loaded" tube.
inline constexpr const char* kTubeEmpty = "empty";
inline constexpr const char* kTubeLoading = "loading";
inline constexpr const char* kTubeLoaded = "loaded";
inline constexpr const char* kTubeUnloading = "unloading";
// A tube is fully loaded at this percentage.
inline constexpr float kTubeFullyLoaded = 100.0f;
inline constexpr DataKey kWeaponTargetUid{"weapon_target_UID", kPlayDoc};  // 0 = none
// The other objects a player ship's consoles have chosen, 0 = none: the
// science and comms targets and the plain radar's selection.
inline constexpr DataKey kScienceTargetUid{"science_target_UID", kPlayDoc};
inline constexpr DataKey kCommsTargetUid{"comms_target_UID", kPlayDoc};
inline constexpr DataKey kNormalTargetUid{"normal_target_UID", kPlayDoc};

// What a launch gives its torpedo: the type's definition from the server
// string map, the type, where it flies when it has no target, and its ship.
inline constexpr DataKey kTorpedoDefinition{"torpedo_definition", kPlayDoc};
inline constexpr DataKey kTorpedoKey{"torpedo_key", kPlayDoc};
inline constexpr DataKey kTorpedoTypeValue{"torpedo_type_value", kPlayDoc};
inline constexpr DataKey kLandingPoint{"landing_point", kPlayDoc};  // x, y, z at indexes 0, 1, 2
inline constexpr DataKey kParentUid{"parentUID", kPlayDoc};
// A torpedo's behaviours, set up by its definition; "mine" lays it astern.
inline constexpr DataKey kBehavior{"behavior", kPlayDoc};

// Drones.
inline constexpr DataKey kDroneDamage{"drone_damage", kPlayDoc};

// How many torpedo tubes the ship has: "torpedo_tube_count", within the
// mounts a hull can have.
inline int32_t TorpedoTubeCount(const ObjectDataBlob& blob)
{
    return static_cast<int32_t>(std::clamp<int64_t>(ReadInt(blob, kTorpedoTubeCount), 0, kShipTorpedoTubeSlots));
}

// How many shield facings the object has: "shield_count", within
// 0..kMaxShieldFacings.
inline int32_t ShieldFacingCount(const ObjectDataBlob& blob)
{
    return static_cast<int32_t>(std::clamp<int64_t>(ReadInt(blob, kShieldCount), 0, kMaxShieldFacings));
}

// The torpedo a tube holds when it names none.
inline constexpr const char* kDefaultTorpedoType = "Homing";

// The name of a torpedo type's stock key ("Homing" and "_NUM" make "Homing_NUM").
inline std::string TorpedoStockName(const std::string& type, const DataKey& suffix)
{
    return type + std::string(suffix.name);
}

// The stock value of a type under one of the suffixes ("_NUM", "_MAX").
inline int64_t TorpedoStock(const ObjectDataBlob& ship, const std::string& type, const DataKey& suffix)
{
    const std::string name = TorpedoStockName(type, suffix);
    return ReadInt(ship, DataKey{name, suffix.doc});
}

}  // namespace shipkeys
