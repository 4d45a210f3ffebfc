#include "game/behaviours/SpaceObjectAI.h"

#include "game/behaviours/BehaviourSupport.h"
#include "game/behaviours/DroneAI.h"
#include "game/behaviours/MissileAI.h"
#include "game/behaviours/MonsterAI.h"
#include "game/behaviours/NPCShipAI.h"
#include "game/behaviours/PlayerShipAI.h"
#include "game/behaviours/StationAI.h"
#include "game/world/BehaviourHookMap.h"

#include <cstdint>

class Simulation;
class SpaceObject;

namespace {

// Draw hooks are registered for the renderer; nothing looks them up yet.
void DrawNothing(Simulation&, SpaceObject*, int32_t, void*) {}

}  // namespace

void RegisterBehaviourHooks()
{
    static bool registered = false;
    if (registered)
        return;
    registered = true;

    BehaviourHookMap& ai = AIHookMap();
    ai.Register("behav_drone", DroneAI);
    ai.Register("behav_missile", MissileAI);
    ai.Register("behav_npcship", NPCShipAI);
    ai.Register("behav_playership", PlayerShipAI);
    ai.Register("behav_station", StationAI);
    ai.Register("behav_monster", MonsterAI);
    // Objects the game knows by these names alone: drawn, avoided or set off
    // by others, with no behaviour of their own.
    using namespace behaviours;
    for (const char* passive : {kAsteroidBehaviour, kMineBehaviour, kNebulaBehaviour, kPickupBehaviour,
                                kSelectionBehaviour})
        ai.RegisterPassive(passive);

    BehaviourHookMap& draw = DrawHookMap();
    draw.Register("behav_asteroid", DrawNothing);
    draw.Register("behav_playership", DrawNothing);
}
