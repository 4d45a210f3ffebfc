#include "game/behaviours/PlayerShipAI.h"

#include "game/behaviours/PlayerShipBeams.h"
#include "game/behaviours/PlayerShipContacts.h"
#include "game/behaviours/PlayerShipDamage.h"
#include "game/behaviours/PlayerShipEngineering.h"
#include "game/behaviours/PlayerShipHelm.h"
#include "game/behaviours/PlayerShipKeys.h"
#include "game/behaviours/PlayerShipNavigation.h"
#include "game/behaviours/PlayerShipScience.h"
#include "game/behaviours/PlayerShipSetup.h"
#include "game/behaviours/PlayerShipWeapons.h"
#include "game/world/AppData.h"
#include "game/world/BehaviourHookMap.h"
#include "game/world/EventMessage.h"
#include "game/world/Simulation.h"
#include "game/world/SpaceObject.h"
#include "helper/QelAssert.h"

#include <algorithm>

using namespace playership;

namespace {

void Assign(SpaceObject& ship, Simulation& world)
{
    RefreshPlayerShipCoefficients();
    PlayerShipSetupDefaults(&ship, world);
    PlayerShipSetupFromData(&ship);
    AgePlayerShipContacts(ship, world);
}

// The beams may run the target's damage handlers and the mission, which may
// remove the ship: what follows runs only while it is still here.
void Tick(SpaceObject& ship, Simulation& world)
{
    PlayerShipHelmTick(ship, world);
    if (!world.serverFlag)
        return;
    const uint64_t run = world.RunCount();
    PlayerShipFighterTargeting(ship, world);
    PlayerShipBeamsTick(ship, world);
    if (!behaviours::StillThere(world, ship, run))
        return;
    PlayerShipTubesTick(ship);
    PlayerShipContactsTick(ship, world);
    if (behaviours::StillThere(world, ship, run))
        AgePlayerShipContacts(ship, world);
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
    // A ship that began the pass without energy mends nothing, whatever
    // its APU has trickled in since.
    PlayerShipShieldRepairPass(ship, world, startEnergy);
    if (energy != startEnergy)
        WriteFloat(ship.data_set, kEnergy, std::max(0.0f, energy));
    // The sensors, the mines and the objects near the ship each may tell the
    // mission, which may reset the world or remove the ship meanwhile: what
    // follows each runs only while the ship is still here.
    const uint64_t run = world.RunCount();
    RefreshSurroundings(ship, world);
    if (!behaviours::StillThere(world, ship, run))
        return;
    SharedSensorPass(ship, world);
    if (!behaviours::StillThere(world, ship, run))
        return;
    // A player ship sets mines off from the distance the preferences give.
    behaviours::SetOffNearbyMines(ship, world, behaviours::kShipMineBursts, AppData::GetFloat("mine_trigger_radius"));
    if (!behaviours::StillThere(world, ship, run))
        return;
    RaiseWithinRangeEvents(ship, world);
    if (behaviours::StillThere(world, ship, run))
        AgePlayerShipContacts(ship, world);
}

}  // namespace

void PlayerShipAI(Simulation& world, SpaceObject* ship, int32_t message, void* data)
{
    switch (message) {
    case kBehaviourAssigned:
        Assign(*ship, world);
        break;
    case kBehaviourTick:
        Tick(*ship, world);
        break;
    case kBehaviourSlowTick:
        SlowTick(*ship, world);
        break;
    case kBehaviourDamage:
        QEL_ASSERT(data, "tdrPtr");
        if (world.serverFlag)
            PlayerShipTakeDamage(*ship, world, *static_cast<const EventMessage*>(data));
        break;
    default:
        break;
    }
}
