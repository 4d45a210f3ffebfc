#pragma once
// How the sides of the world regard each other, and how the consoles colour
// them: per ordered pair of side tags a diplomatic attitude (DIPLOMACY), per
// side tag an icon colour and an icon index, and per attitude a display
// colour. Side tags are keyed by the CRC-32 of their text. Missions set the
// tables on the server, which sends all four to every console when they
// change; the consoles read them to tell friend from foe.

#include "game/world/WorldEnums.h"

#include <glm/vec4.hpp>

#include <array>
#include <cstdint>
#include <map>
#include <string_view>

struct SideTables {
    // The key of a side tag.
    static int32_t SideKey(std::string_view tag);
    // A tag that takes part in diplomacy: not empty and not beginning with
    // '#' (such tags mark objects outside any side).
    static bool IsDiplomaticTag(std::string_view tag);
    static bool IsDiplomacyValue(int32_t value) { return value >= DIPLOMACY_UNKNOWN && value < DIPLOMACY_MAX; }

    // The attitude of the first side toward the second; UNKNOWN for a pair
    // never set and for a tag outside diplomacy. Directional: (A, B) and
    // (B, A) are separate entries.
    int32_t Relationship(std::string_view first, std::string_view second) const;

    std::map<int32_t, glm::vec4> iconColours;  // side key -> RGBA
    std::map<int32_t, int32_t> iconIndexes;    // side key -> icon
    std::map<int32_t, std::map<int32_t, int32_t>> relationships;  // first key -> second key -> DIPLOMACY
    // Indexed by DIPLOMACY: grey, cyan, green and red.
    std::array<glm::vec4, DIPLOMACY_MAX> diplomacyColours{
        glm::vec4{0.5f, 0.5f, 0.5f, 1.0f}, glm::vec4{0.0f, 1.0f, 1.0f, 1.0f}, glm::vec4{0.0f, 1.0f, 0.0f, 1.0f},
        glm::vec4{1.0f, 0.0f, 0.0f, 1.0f}};
};
