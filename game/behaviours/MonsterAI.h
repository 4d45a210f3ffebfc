#pragma once
// The behaviour hook of the space monster ("behav_monster"): it flies straight
// at its ordered point, strikes its target with lightning in any direction,
// heals over time, sets off mines near it and dies when its health runs out.

#include <cstdint>

class Simulation;
class SpaceObject;

void MonsterAI(Simulation& world, SpaceObject* monster, int32_t message, void* data);
