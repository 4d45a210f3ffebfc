#pragma once
// The behaviour hook of space stations ("behav_station"): a slow spin, beams,
// drones and torpedoes at the target the mission gives, shields before
// armour, repairs, and a three-step explosion.

#include <cstdint>

class Simulation;
class SpaceObject;

void StationAI(Simulation& world, SpaceObject* station, int32_t message, void* data);
