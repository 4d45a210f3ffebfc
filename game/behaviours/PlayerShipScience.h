#pragma once
// The player ship's science on the server: the scans its science officer
// queued run one at a time, faster the nearer the target, and a finished
// scan is recorded on the target for the scanning ship's side.

#include <string>

class Simulation;
class SpaceObject;

// Records that the ship's side has scanned the target at the scan type (the
// type names the target's key, the side its entry), tells the mission, and
// has the server send the target whole to the ship's consoles.
void ScienceScanComplete(SpaceObject& target, const SpaceObject& ship, const std::string& scanType, Simulation& world);

// One slow pass of the ship's scan: the next queued scan starts when none is
// under way, and the one under way advances and may complete.
void PlayerShipScanPass(SpaceObject& ship, Simulation& world);
