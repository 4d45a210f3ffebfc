#pragma once
// Every ship's interior grid, by the ship's id: built from the ship's record
// and its type's hull silhouette on first use, and kept until it is rebuilt,
// until a console is told to drop it, or until the world starts a new game.
// One map serves the process, so a host's own console sees the server's grids.
//
// Main thread only.

#include "game/world/HullPathSet.h"
#include "game/world/HullSilhouetteSource.h"

#include <cstdint>
#include <map>
#include <memory>

class Simulation;
struct ShipDataRecord;

using HullPathSetMap = std::map<uint64_t, std::unique_ptr<HullPathSet>>;
extern HullPathSetMap hullPathSets;

// Where hull silhouettes come from: the render side (or a headless host's
// stand-in) registers itself, and unregisters with null before it goes.
// Without a source no ship has an interior.
void SetHullSilhouetteSource(HullSilhouetteSource* source);
HullSilhouetteSource* CurrentHullSilhouetteSource();

// The ship's grid, built on first use. With the rebuild flag an existing grid
// is deleted (with its grid objects) and built anew. Null when there is no
// world, no object of the id (in normal space or on standby), no record, or
// no silhouette for the ship's type; the ship then has no interior. Without a
// world or registry only an existing grid is returned.
HullPathSet* GetHullPathSet(uint64_t shipId, bool rebuild);
// The ship's grid when one is built, else null; never builds.
HullPathSet* FindHullPathSet(uint64_t shipId);
// The grid of the record laid over the silhouette, for a ship or for the hull
// editor.
std::unique_ptr<HullPathSet> BuildHullPathSet(const HullSilhouette& silhouette, const ShipDataRecord& record);
// Deletes the ship's grid, if it has one.
void DeleteHullPathSet(uint64_t shipId);
// Deletes every grid; the world does it when it is reset or cleared.
void ClearHullPathSets();

// The world's tick step: moves the grid objects of every ship that has a grid
// and is in the registry, in ship id order. On the server, each arrival is
// handed to the mission at once as the event "grid_object" / "finished_path";
// the mission may change grids or start a new game meanwhile, and the step
// stops for whatever it ended.
void MoveAllGridObjects(Simulation& world);
