#pragma once
// The world the fuzz targets apply what they read to, and what must hold of
// it after any input.

#include <cstdint>
#include <string>

class Simulation;

// The process's one world. Making a world reads the game's ship list, far too
// slow to do for every input, so every input starts this one afresh, as a new
// game does (Clear, then Reset), with both random sources back at their start.
Simulation& FreshFuzzWorld(bool serverFlag);

// A scene of play: two player ships side by side, a station and a computer
// ship further out; the ids run from 4 (with the space-object bit) in this
// order, which the seeds name.
struct FuzzScene {
    uint64_t firstShip = 0;
    uint64_t secondShip = 0;
    uint64_t station = 0;
    uint64_t raider = 0;
};
FuzzScene PopulateFuzzWorld(Simulation& world);

// Every object the world lists is found by its own id, and its motion is made
// of finite numbers (a NaN or an infinity would spread through every distance
// test of the world that holds it). A breach stops the run.
void CheckWorldIsSound(const Simulation& world);

// A ship flown, a computer ship and a station of the hull type enter the world.
void AddHullObjects(Simulation& world, const std::string& hullKey);

// The frame step and a tick, as often as asked, then the checks above.
void RunWorld(Simulation& world, int ticks);
