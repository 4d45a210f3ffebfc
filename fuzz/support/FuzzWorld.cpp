#include "fuzz/support/FuzzWorld.h"

#include "fuzz/support/FuzzProcess.h"
#include "game/world/FiniteMath.h"
#include "game/world/Simulation.h"
#include "helper/CRand.h"

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
    QEL_FUZZ_CHECK(AllFinite(object.pos) && AllFinite(object.rot_quat),
                   Named(object, "has a position or orientation that is not finite"));
    QEL_FUZZ_CHECK(AllFinite(object.targetPos) && AllFinite(object.targetOrientation),
                   Named(object, "has a target state that is not finite"));
    QEL_FUZZ_CHECK(std::isfinite(object.cur_speed) && std::isfinite(object.turn_yaw) &&
                       std::isfinite(object.turn_pitch) && std::isfinite(object.turn_roll),
                   Named(object, "has a speed or turn that is not finite"));
}

void PlaceAt(Simulation& world, uint64_t id, float x, float z)
{
    if (SpaceObject* object = world.GetSpaceObject(id))
        world.RepositionSpaceObject(object, x, 0.0f, z);
}

}  // namespace

Simulation& FreshFuzzWorld(bool serverFlag)
{
    static Simulation* world = new Simulation;
    world->SetScriptEventSink(nullptr);
    world->SetPendingDestroySink(nullptr);
    world->SetScienceScanSink(nullptr);
    world->Clear();
    world->Reset(serverFlag, "");
    world->paused = false;
    world->subjectID = 0;
    world->altSubjectID = 0;
    world->randomState = 1;
    csrand(1);
    return *world;
}

FuzzScene PopulateFuzzWorld(Simulation& world)
{
    FuzzScene scene;
    scene.firstShip = world.CreateSpaceObject("behav_playership", "tern_frigate", 0);
    scene.secondShip = world.CreateSpaceObject("behav_playership", "kestrel_fighter", 0);
    scene.station = world.CreateSpaceObject("behav_station", "starbase_civil", SpaceObject::kStaticBit);
    scene.raider = world.CreateSpaceObject("behav_npcship", "skarn_raider", 0);
    PlaceAt(world, scene.secondShip, 400.0f, 0.0f);
    PlaceAt(world, scene.station, -2000.0f, 3000.0f);
    PlaceAt(world, scene.raider, 5000.0f, -800.0f);
    return scene;
}

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
