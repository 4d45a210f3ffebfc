#pragma once
// A computer ship's keys as its hull record and defaults give them, laid down
// when the behaviour is assigned.

class Simulation;
class SpaceObject;

void NPCShipSetup(SpaceObject& ship, Simulation& world);
