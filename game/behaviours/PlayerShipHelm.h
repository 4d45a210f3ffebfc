#pragma once
// The helm half of a player ship's tick, on the server and on every client:
// turns the crew's throttle and steering keys into the ship's speed, its
// one-tick turns and its orientation, which the world's move step applies.

class Simulation;
class SpaceObject;

void PlayerShipHelmTick(SpaceObject& ship, Simulation& world);
