#pragma once
// Small operations on ship data that the world, the behaviours, the consoles
// and the scripts share: which shield facing a shot strikes, the random wave
// the shield display animates, and what a jump costs.

#include <glm/vec3.hpp>

#include <cstdint>

class SpaceObject;

// The facing (0 to facings - 1) of a target that a shot from the source point
// strikes; -1 when the target has no facings. Facing 0 is centred on the bow
// and the facings follow round to the stern, by the shot's angle off the bow
// alone: port and starboard are not told apart, so with 4 facings the last is
// never struck. A source at the target's own place strikes facing 0.
int32_t ShieldFacingIndex(const glm::vec3& sourcePoint, const glm::vec3& targetPosition,
                          const glm::vec3& targetForward, int32_t facings);

// Draws the shield wave's amplitude, frequency and offset anew, each 0..1.
void SetRandomShieldWave(SpaceObject& object);

// Energy a jump costs per unit of distance: the ship's "jump_energy_cost" / 1000.
float GetJumpEnergyCost(const SpaceObject& object);
