#pragma once
// How a computer ship takes damage, dies and repairs itself. It has no hull
// points: what its shields let through becomes system damage, one point per 5,
// on random systems, and it dies when a point can no longer be placed.

#include <cstdint>

class Simulation;
class SpaceObject;
struct EventMessage;

// The health of one of the four systems: 1 - damage / maximum (1 where the
// maximum is 0). System 0 governs beams and drones, system 1 the speed.
float NPCShipSystemHealth(const SpaceObject& ship, int32_t system);

void NPCShipTakeDamage(SpaceObject& ship, Simulation& world, const EventMessage& damage);
// The 15-tick pass of a dying ship: its bursts, then the destroy queue.
void NPCShipBurst(SpaceObject& ship, Simulation& world);
// Shields and systems mend at most once a healing interval.
void NPCShipRepair(SpaceObject& ship, const Simulation& world);
