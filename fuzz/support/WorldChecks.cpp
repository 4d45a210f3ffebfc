#include "fuzz/support/WorldChecks.h"

#include "fuzz/support/FuzzProcess.h"
#include "game/world/FiniteMath.h"
#include "game/world/Simulation.h"

#include <cmath>
#include <string>

namespace {

std::string Named(const SpaceObject& object, const char* what)
{
    return "object " + std::to_string(object.uniqueID) + " (" + object.tick_type + ") " + what;
}

void CheckObject(const SuperContainer& container, const SpaceObject& object)
{
    QEL_FUZZ_CHECK(container.Find(object.uniqueID) == &object, Named(object, "is listed but not found by its id"));
    QEL_FUZZ_CHECK(AllFinite(object.pos) && AllFinite(object.rot_quat), Named(object, "has a position or "
                                                                                       "orientation that is not finite"));
    QEL_FUZZ_CHECK(AllFinite(object.targetPos) && AllFinite(object.targetOrientation),
                   Named(object, "has a target state that is not finite"));
    QEL_FUZZ_CHECK(std::isfinite(object.cur_speed) && std::isfinite(object.turn_yaw) &&
                       std::isfinite(object.turn_pitch) && std::isfinite(object.turn_roll),
                   Named(object, "has a speed or turn that is not finite"));
}

}  // namespace

void CheckWorldIsSound(const Simulation& world)
{
    const SuperContainer* container = world.Container();
    if (!container)
        return;
    for (const SuperContainerObject* object : container->Objects())
        CheckObject(*container, *static_cast<const SpaceObject*>(object));
}

void AddHullObjects(Simulation& world, const std::string& hullKey)
{
    for (const char* behaviour : {"behav_playership", "behav_npcship", "behav_station"})
        world.CreateSpaceObject(behaviour, hullKey, 0);
}

void RunWorld(Simulation& world, int ticks)
{
    for (int tick = 0; tick < ticks; ++tick) {
        world.FrameUpdate();
        world.Tick();
    }
    CheckWorldIsSound(world);
}
