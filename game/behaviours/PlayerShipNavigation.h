#pragma once
// The movement steps of a player ship's slow pass (every 15 ticks, server
// only): completing jumps, and finding the gravity wells and nebulae the
// ship is in, which the helm reads until the next pass.

class Simulation;
class SpaceObject;

// Counts a pending jump down to the ship's consoles or, once it is due,
// carries the ship to its destination. Takes the energy the slow pass carries
// and answers it less what the jump cost.
float CompleteJump(SpaceObject& ship, Simulation& world, float energy);

// Drops the last pass's pull, then takes the pull of the well the ship is
// inside (the last one found) and lists the nebulae it is inside.
void RefreshSurroundings(SpaceObject& ship, Simulation& world);
