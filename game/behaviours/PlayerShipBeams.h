#pragma once
// The player ship's beams, every tick on the server: fighters and shuttles
// pick the object ahead as their target, the beams recharge at the pace
// engineering's beam power and the speed setting give them, and every ready
// beam whose arc and range hold the weapons target fires at it.

class Simulation;
class SpaceObject;

// A fighter or shuttle takes as its weapons target the object most nearly
// straight ahead within its beams' reach; other ships keep the target their
// weapons console chose.
void PlayerShipFighterTargeting(SpaceObject& ship, const Simulation& world);

// Recharges the beams and fires the ready ones. The target's damage handlers
// and the mission run during a shot, so the ship may be gone afterwards.
void PlayerShipBeamsTick(SpaceObject& ship, Simulation& world);
