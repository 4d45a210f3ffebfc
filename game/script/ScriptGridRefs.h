#pragma once
// A mission script's handles on a ship's interior grid (zmx.hullmap) and on
// one grid object of it (zmx.grid_object). Like the space-object handle they
// hold no pointer: each keeps the ship's id, which build of its grid it was
// given, and the grid object's id, and finds the record anew at every use. A
// grid rebuilt or dropped with a new game, or a grid object deleted, makes
// every later use raise a Python ReferenceError instead of reaching freed
// memory.

#include <cstdint>

class HullPathSet;
struct GridObject;

class HullMapRef {
public:
    explicit HullMapRef(const HullPathSet& set);

    // The grid it was given, in the current world; throws
    // StaleScriptReference once that grid is gone.
    HullPathSet& Get() const;

private:
    uint64_t shipId;
    uint64_t serial;  // the build of the ship's grid
};

class GridObjectRef {
public:
    GridObjectRef(const HullPathSet& set, const GridObject& object);

    // Throws StaleScriptReference once the grid object or its grid is gone.
    GridObject& Get() const;

private:
    HullMapRef interior;
    uint64_t id;
};
