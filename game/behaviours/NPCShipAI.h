#pragma once
// Every computer-controlled ship: it turns toward its ordered point at its
// ordered throttle, fires its beams at its target, launches drones, takes
// collision damage, sets off mines near it and is pulled by gravity wells.

#include <cstdint>

class SpaceObject;

void NPCShipAI(SpaceObject* ship, int32_t message, void* data);
