#pragma once
// The player ship's science on the server: the scans its science officer
// queued run one at a time, faster the nearer the target, and a finished
// scan is recorded on the target for the scanning ship's side. Its sensors,
// and those of its extra scan sources, scan what comes near at once.

#include <cstdint>
#include <string>
#include <vector>

class Simulation;
class SpaceObject;

// A ship's sensors, and those of each of its extra scan sources, reach this
// far: what is nearer is scanned for the ship's side at once.
inline constexpr float kSensorRange = 5000.0f;

// Records that the ship's side has scanned the target at the scan type (the
// type names the target's key, the side its entry), tells the mission, and
// has the server send the target whole to the ship's consoles. A scan a
// console's check completed names that console to the mission.
void ScienceScanComplete(SpaceObject& target, const SpaceObject& ship, const std::string& scanType, Simulation& world,
                         uint64_t clientId = 0);

// Whether the ship's side has the target's scan of the type.
bool ScannedBySide(const SpaceObject& target, const SpaceObject& ship, const std::string& scanType);

// The ship's sensors scan, once for its side, the objects seen around it (the
// ids of one registry query, in its order): each that still has no "scan"
// entry for the side completes one. Stops when the world was reset or the
// ship is gone meanwhile (the mission hears of each scan at once).
void ScanUnscannedObjects(uint64_t shipId, const std::vector<uint64_t>& seenIds, Simulation& world);

// Shared sensors: one of the ship's extra scan sources, in turn each pass,
// shares what lies within sensor range of it, and the ship's sensors scan
// what of that its side has not scanned.
void SharedSensorPass(SpaceObject& ship, Simulation& world);

// One slow pass of the ship's scan: the next queued scan starts when none is
// under way, and the one under way advances and may complete.
void PlayerShipScanPass(SpaceObject& ship, Simulation& world);
