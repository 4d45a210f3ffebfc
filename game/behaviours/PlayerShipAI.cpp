#include "game/behaviours/PlayerShipAI.h"

#include "game/behaviours/PlayerShipEngineering.h"
#include "game/behaviours/PlayerShipHelm.h"
#include "game/behaviours/PlayerShipKeys.h"
#include "game/behaviours/PlayerShipNavigation.h"
#include "game/behaviours/PlayerShipScience.h"
#include "game/behaviours/PlayerShipSetup.h"
#include "game/behaviours/PlayerShipWeapons.h"
#include "game/world/BehaviourHookMap.h"
#include "game/world/Simulation.h"
#include "game/world/SpaceObject.h"
#include "helper/QelAssert.h"

#include <algorithm>

using namespace playership;

namespace {

void Assign(SpaceObject& ship)
{
    RefreshPlayerShipCoefficients();
    PlayerShipSetupDefaults(&ship);
    PlayerShipSetupFromData(&ship);
    // The contact counters are aged here once the weapons steps exist.
}

void Tick(SpaceObject& ship, Simulation& world)
{
    PlayerShipHelmTick(ship, world);
    if (!world.serverFlag)
        return;
    // Fighter targeting and the beams come before the tubes; contacts after.
    PlayerShipTubesTick(ship);
}

// The slow pass carries the ship's energy through its steps and stores it
// once at the end; energy never falls below 0.
void SlowTick(SpaceObject& ship, Simulation& world)
{
    const float startEnergy = ReadFiniteFloat(ship.data_set, kEnergy);
    PlayerShipCountersPass(ship);
    float energy = CompleteJump(ship, world, startEnergy);
    energy = PlayerShipEngineeringPass(ship, world, energy);
    PlayerShipScanPass(ship, world);
    // Shield repairs follow here.
    if (energy != startEnergy)
        WriteFloat(ship.data_set, kEnergy, std::max(0.0f, energy));
    // The sensors tell the mission of what they scan, and the mission may
    // reset the world or remove the ship meanwhile: the ship is looked up again
    // between them.
    const uint64_t shipId = ship.uniqueID;
    const uint64_t run = world.RunCount();
    RefreshSurroundings(ship, world);
    SpaceObject* stillHere = world.GetSpaceObject(shipId);
    if (stillHere && world.RunCount() == run)
        SharedSensorPass(*stillHere, world);
}

Simulation& World()
{
    QEL_ASSERT(theSimulation, "theSimulation");
    return *theSimulation;
}

}  // namespace

void PlayerShipAI(SpaceObject* ship, int32_t message, void*)
{
    switch (message) {
    case kBehaviourAssigned:
        Assign(*ship);
        break;
    case kBehaviourTick:
        Tick(*ship, World());
        break;
    case kBehaviourSlowTick:
        SlowTick(*ship, World());
        break;
    default:
        // Damage to shields, hull and systems is handled here with the weapons steps.
        break;
    }
}
