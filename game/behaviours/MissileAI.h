#pragma once
// Torpedoes and missiles: one behaviour whose character comes from the
// "torpedo_definition" style string the launcher writes. It homes, drifts
// with gravity wells, lays mines, and on contact detonates with the warhead
// its definition names.

#include <cstdint>

class Simulation;
class SpaceObject;

void MissileAI(Simulation& world, SpaceObject* missile, int32_t message, void* data);
