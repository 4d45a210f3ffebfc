#pragma once
// Every computer-controlled ship: it turns toward its ordered point at its
// ordered throttle, fires its beams at its target, launches drones, takes
// collision damage, sets off mines near it and is pulled by gravity wells.

#include <cstdint>

class Simulation;
class SpaceObject;

void NPCShipAI(Simulation& world, SpaceObject* ship, int32_t message, void* data);
