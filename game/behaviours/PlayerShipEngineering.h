#pragma once
// The player ship's engineering on the server's slow pass: the camera's
// interest and the hit counters, the heat each powered subsystem adds to its
// system and the coolant takes away, the energy the ship spends and its APU
// returns, and the quick jump's recharge.

class SpaceObject;
class Simulation;

// Keeps the ship interesting to the cinematic camera and counts its recent
// hits down.
void PlayerShipCountersPass(SpaceObject& ship);

// Heats, cools and spends from the energy the pass carries (as read at the
// start of the pass, less what a jump took) and returns what is left, never
// below 0; the caller stores it.
float PlayerShipEngineeringPass(SpaceObject& ship, Simulation& world, float energy);

// Mends the shield facings toward their maxima, once every 60 ticks at most,
// at the pace the shields' coefficients and sliders set; a ship without
// energy mends nothing.
void PlayerShipShieldRepairPass(SpaceObject& ship, const Simulation& world, float energy);
