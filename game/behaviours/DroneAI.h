#pragma once
// The drone: a small homing weapon computer ships and stations launch. It
// homes on its "weapon_target_UID", or without one on the pull of nearby
// objects, strikes the first it comes close to, and takes 21 ticks to die
// once damaged.

#include <cstdint>

class Simulation;
class SpaceObject;

void DroneAI(Simulation& world, SpaceObject* drone, int32_t message, void* data);
