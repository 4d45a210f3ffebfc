#pragma once
// What the player ship touches and comes near, told to the mission: a
// contact starts when the bounce step first reports an object and ends when
// the ship has not touched it for a while; objects with an interaction
// radius raise "within_range" every slow pass while the ship is inside it.

class Simulation;
class SpaceObject;

// Every tick on the server: the objects the ship touched since the last tick
// start contacts (with a jolt on the consoles) or keep them going.
void PlayerShipContactsTick(SpaceObject& ship, Simulation& world);

// Counts every contact down by one and ends those that run out. Runs after
// the contacts of each tick, and at the end of the slow pass and of the
// assignment.
void AgePlayerShipContacts(SpaceObject& ship, Simulation& world);

// The slow pass's proximity events for the objects the ship is near.
void RaiseWithinRangeEvents(SpaceObject& ship, Simulation& world);
