#pragma once
// One hull type as the ship list defines it: what behaviours read for hull
// points, speeds, energy costs, shields, bays and tubes, and what rendering
// reads for the art and the port positions.

#include <glm/vec3.hpp>
#include <glm/vec4.hpp>

#include <array>
#include <cstdint>
#include <string>
#include <vector>

// Slot counts of the fixed port tables; a hull with more ports in its list
// keeps the first ones (the renderer and the wire form have room for these).
inline constexpr int kShipExhaustPortSlots = 10;
inline constexpr int kShipBeamPortSlots = 20;
inline constexpr int kShipTorpedoTubeSlots = 20;

struct ShipExhaustPort {
    glm::vec3 position{0.0f};
    glm::vec4 color{0.0f};  // r, g, b, a in 0..1
};

struct ShipBeamPort {
    float damageCoeff = 0.0f;  // share of the ship's base beam damage
    float arcWidth = 0.0f;     // degrees of the firing arc
    float cycleTime = 0.0f;    // seconds between shots
    float range = 0.0f;        // world units
    float barrelAngle = 0.0f;
    glm::vec3 position{0.0f};
    glm::vec4 color{0.0f};
    glm::vec4 arcColor{0.0f};
};

// Fields in the order the ship list's columns are documented. The energy and
// motion coefficients keep their document names, which the behaviours and the
// keyed values share.
struct ShipDataRecord {
    std::string key;          // lower case; the data_tag of a space object
    std::string name;         // lower case
    std::string side;         // lower case
    std::string origin;       // lower case
    std::string artFileRoot;  // case kept: names art files
    std::string longDesc;
    float meshScale = 0.0f;
    float radarScale = 0.0f;
    float defaultSide = 0.0f;
    float meshRotate = 0.0f;  // quarter turns about the up axis
    // Also the damage capacity of each of a ship's four systems: the ship
    // behaviours seed "system_max_damage" from it, as there is no field of its own.
    float hullPoints = 0.0f;
    float moveSpeed = 0.0f;
    float exclusionRadius = 0.0f;
    float interactionRadius = 0.0f;
    float internalMapScale = 0.0f;  // above 0: the hull has an interior grid
    int32_t internalMapW = 0;
    int32_t internalMapH = 0;
    int32_t internalSymmetry = 0;
    float turn_rate = 0.0f;
    float speed_coeff = 0.0f;
    float ship_energy_cost = 0.0f;
    float warp_energy_cost = 0.0f;
    float jump_energy_cost = 0.0f;
    float drone_launch_timer = 0.0f;
    float scan_strength_coeff = 0.0f;
    int32_t bayCount = 0;
    std::vector<float> shields;  // one value per facing
    std::array<ShipExhaustPort, kShipExhaustPortSlots> exhaustPorts{};
    int32_t tubeCount = 0;
    // The starting (and maximum) torpedo load, parallel lists in document
    // order; the player-ship set-up calls this the torpedo storage.
    std::vector<std::string> torpedoStartTypes;
    std::vector<int32_t> torpedoStartCounts;
    std::array<ShipBeamPort, kShipBeamPortSlots> beamPorts{};
    std::array<glm::vec3, kShipTorpedoTubeSlots> torpedoTubePositions{};
    std::vector<std::string> roles;
    std::string monsterStyle;  // style string of a monster's look
};
