#pragma once
// A hit on a player ship, on the server: the shield facing that was struck
// takes it while the shields are up, powered and charged; otherwise the hull
// does, and every five points of it become one hit on the ship's interior
// (told to the mission, which decides what the crew suffers) or, for a ship
// without one, on a random system.

struct EventMessage;
class Simulation;
class SpaceObject;

void PlayerShipTakeDamage(SpaceObject& ship, Simulation& world, const EventMessage& damage);
