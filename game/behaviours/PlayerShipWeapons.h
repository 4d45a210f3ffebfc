#pragma once
// The player ship's weapons over time, on the server: the torpedo tubes load
// and unload at the pace engineering's tube power and the tubes' damage and
// upgrades set.

class SpaceObject;

// One tick of every tube: a "loading" tube fills toward loaded, an
// "unloading" one empties; other states are left alone.
void PlayerShipTubesTick(SpaceObject& ship);
