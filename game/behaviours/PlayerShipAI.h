#pragma once
// The behaviour of every ship a crew flies ("behav_playership").

#include <cstdint>

class Simulation;
class SpaceObject;

// The hook: lays down the ship's keys when assigned, flies it every tick on
// the server and on every client, and runs its slow pass every 15 ticks on
// the server.
void PlayerShipAI(Simulation& world, SpaceObject* ship, int32_t message, void* data);
