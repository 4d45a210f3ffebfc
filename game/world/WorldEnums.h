#pragma once
// Small enumerations that the world, the behaviours and mission scripts share
// (scripts see them as zmx.SHPSYS and zmx.DIPLOMACY).

#include <cstdint>

// The ship systems whose damage is tracked, as indexes of "system_damage".
enum SHPSYS : int32_t {
    SHPSYS_WEAPONS = 0,
    SHPSYS_ENGINES = 1,
    SHPSYS_SENSORS = 2,
    SHPSYS_SHIELDS = 3,
    SHPSYS_MAX = 4,  // how many there are
};

// How one side regards another.
enum DIPLOMACY : int32_t {
    DIPLOMACY_UNKNOWN = 0,
    DIPLOMACY_NEUTRAL = 1,
    DIPLOMACY_ALLIED = 2,
    DIPLOMACY_HOSTILE = 3,
    DIPLOMACY_MAX = 4,  // how many there are
};
