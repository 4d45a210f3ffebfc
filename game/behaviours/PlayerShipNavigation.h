#pragma once
// The movement steps of a player ship's slow pass (every 15 ticks, server
// only): completing jumps, and finding the gravity wells and nebulae the
// ship is in, which the helm reads until the next pass; and the quick jump,
// which the helm's command makes at once.

class Simulation;
class SpaceObject;

// Counts a pending jump down to the ship's consoles or, once it is due,
// carries the ship to its destination. Takes the energy the slow pass carries
// and answers it less what the jump cost.
float CompleteJump(SpaceObject& ship, Simulation& world, float energy);

// The quick jump (a console's command): a charged, undocked ship hops 5000
// units along its heading, backwards for a negative direction, paying for it
// from its energy (which stays at least 0), and its drive starts charging
// again. False, and nothing changes, when the drive is not charged or the
// ship is docked.
bool QuickJump(SpaceObject& ship, Simulation& world, float direction);

// Drops the last pass's pull, then takes the pull of the well the ship is
// inside (the last one found) and lists the nebulae it is inside; last, the
// ship's sensors scan what visible objects within 5000 its side has not.
// The mission hears of each scan at once: the ship may be gone after.
void RefreshSurroundings(SpaceObject& ship, Simulation& world);
