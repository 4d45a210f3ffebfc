#pragma once
// What must hold of a world after any input: every object it lists is found
// by its own id, and its motion is made of finite numbers (a NaN or an
// infinity would spread through every distance test of the world that holds
// it). A breach stops the run.

#include <string>

class Simulation;

void CheckWorldIsSound(const Simulation& world);

// A ship flown, a computer ship and a station of the hull type enter the world.
void AddHullObjects(Simulation& world, const std::string& hullKey);

// The frame step and a tick, as often as asked, then the checks above.
void RunWorld(Simulation& world, int ticks);
