#pragma once
// Every ship's interior grid in one world, by the ship's id: built from the
// ship's record and its type's hull silhouette on first use, and kept until it
// is rebuilt, until a console is told to drop it, or until the world starts a
// new game. A host's own console shares its world, and so its grids.
//
// Main thread only.

#include "game/world/HullPathSet.h"
#include "game/world/HullSilhouetteSource.h"

#include <cstdint>
#include <map>
#include <memory>

class Simulation;
struct ShipDataRecord;

class HullPathSets {
public:
    explicit HullPathSets(Simulation& world) : world(world) {}
    HullPathSets(const HullPathSets&) = delete;
    HullPathSets& operator=(const HullPathSets&) = delete;

    // The ship's grid, built on first use. With the rebuild flag an existing
    // grid is deleted (with its grid objects) and built anew. Null when the
    // world has no registry, there is no object of the id (in normal space or
    // on standby), no record, or no silhouette for the ship's type; the ship
    // then has no interior. Without a registry only an existing grid is
    // returned.
    HullPathSet* Get(uint64_t shipId, bool rebuild);
    // The ship's grid when one is built, else null; never builds.
    HullPathSet* Find(uint64_t shipId) const;
    void Delete(uint64_t shipId);
    // Deletes every grid; the world does it when it is reset or cleared.
    void Clear();
    bool Empty() const { return sets.empty(); }

    // The tick step: moves the grid objects of every ship that has a grid and
    // is in the registry, in ship id order. On the server, each arrival is
    // handed to the mission at once as the event "grid_object" /
    // "finished_path"; the mission may change grids or start a new game
    // meanwhile, and the step stops for whatever it ended.
    void MoveGridObjects();

private:
    bool IsStillBuilt(uint64_t shipId, uint64_t serial) const;

    Simulation& world;
    std::map<uint64_t, std::unique_ptr<HullPathSet>> sets;
};

// Where hull silhouettes come from, for every world of the process: the
// render side (or a headless host's stand-in) registers itself, and
// unregisters with null before it goes. Without a source no ship has an
// interior.
void SetHullSilhouetteSource(HullSilhouetteSource* source);

// The grid of the record laid over the silhouette, for a ship or for the hull
// editor.
std::unique_ptr<HullPathSet> BuildHullPathSet(const HullSilhouette& silhouette, const ShipDataRecord& record);

// The current world's grids (theSimulation), for the handlers and scripts:
// HullPathSets::Get and Find, or null when there is no world.
HullPathSet* GetHullPathSet(uint64_t shipId, bool rebuild);
HullPathSet* FindHullPathSet(uint64_t shipId);
