#include "game/behaviours/StationAI.h"

#include "game/behaviours/StationKeys.h"
#include "game/world/BehaviourHookMap.h"
#include "game/world/EventMessage.h"
#include "game/world/ScriptEventSink.h"
#include "game/world/ShipDataRecord.h"
#include "game/world/ShipKeys.h"
#include "game/world/Simulation.h"
#include "game/world/SpaceObject.h"
#include "helper/CRand.h"
#include "helper/QelAssert.h"

#include <glm/geometric.hpp>
#include <glm/gtc/quaternion.hpp>

#include <algorithm>
#include <array>
#include <cmath>
#include <string>

using namespace behaviours;
using namespace station;

namespace {

// A station turns about its up axis once every 20000 ticks.
constexpr float kSpinPerTick = 0.00031415927f;
const glm::vec3 kUpAxis{0.0f, 1.0f, 0.0f};

// The stock a new station holds of each torpedo type it provides.
const std::array<const char*, 4> kStockedTypes{"Homing", "Nuke", "EMP", "Mine"};
constexpr int32_t kStockPerType = 10;
constexpr float kDefaultArmorRepairRate = 1.0f;

// A target within √2 of a beam's range interests the camera.
constexpr float kNearMissRangeSquares = 2.0f;
constexpr float kNearMissInterest = 60.0f;

// The steps of the explosion (one per slow pass) after which the station is
// gone.
constexpr int64_t kLastDeathState = 2;
const char* const kDeathFlash = "color:#FFF; lifespan:10,30; image_cell:8; size:20;speed: 14; count:300";
const char* const kDeathFire = "color:#F01,#0F1; lifespan:10,30; image_cell:9; size:70;speed: 4,12; count:300";
const char* const kDeathBlueFire = "color:#00F; lifespan:10,30; image_cell:9; size:70;speed: 4,12; count:300";
const char* const kDeathSmoke = "smoke:True;  color:#999; lifespan:3,90; image_cell:4; size:40;speed:0,3.5; count:300";

// "DS 47": two random digits.
std::string RandomName()
{
    std::string name = "DS ";
    for (int digit = 0; digit < 2; ++digit)
        name += static_cast<char>('0' + static_cast<int>(static_cast<float>(crand()) / CRAND_MAX * 9.999f));
    return name;
}

void SetupStockedTorpedoes(SpaceObject& station)
{
    std::string available;
    for (const char* type : kStockedTypes) {
        const std::string name = shipkeys::TorpedoStockName(type, shipkeys::kTorpedoNumSuffix);
        station.data_set.SetInt(name, kStockPerType, 0, std::string(shipkeys::kTorpedoNumSuffix.doc));
        station.AddString(name);
        available += std::string(type) + ",";
    }
    DeclareString(station.data_set, kStationTorpedoTypes, available);
}

void Setup(SpaceObject& station)
{
    const ShipDataRecord& record = HullRecordOf(station);
    ObjectDataBlob& blob = station.data_set;
    DeclareString(blob, kShownNameTag, RandomName());
    DeclareString(blob, kHullOrigin, record.origin);
    DeclareString(blob, kHullSide, record.side);
    DeclareString(blob, kHullName, record.name);
    DeclareString(blob, kLongDescription, record.longDesc);
    DeclareHullShields(blob, record);
    DeclareInt(blob, kStationBayCount, record.bayCount);
    DeclareFloat(blob, kArmor, record.hullPoints);
    DeclareFloat(blob, kArmorMax, record.hullPoints);
    DeclareFloat(blob, kRepairRateArmor, kDefaultArmorRepairRate);
    DeclareString(blob, kTorpedoBuildType, shipkeys::kDefaultTorpedoType);
    SetupStockedTorpedoes(station);
    DeclareInt(blob, kDeathTick, 0);
    DeclareInt(blob, kDeathState, 0);
}

float DistanceSquared(const SpaceObject& a, const SpaceObject& b)
{
    const glm::vec3 d = a.pos - b.pos;
    return glm::dot(d, d);
}

// Shots stop at a target that died or went away meanwhile.
bool StillATarget(const Simulation& world, uint64_t targetId)
{
    const SpaceObject* target = world.GetSpaceObject(targetId);
    return target && ReadInt(target->data_set, kDeathTick) == 0;
}

// Every ready beam whose range reaches the target strikes it; one that falls
// just short raises the target's interest. False when the station or its
// target is gone after a shot.
bool FireBeams(SpaceObject& station, Simulation& world, uint64_t targetId, uint64_t run)
{
    ObjectDataBlob& blob = station.data_set;
    const auto beams = static_cast<int32_t>(std::clamp<int64_t>(ReadInt(blob, kBeamCount), 0, kMaxStationBeams));
    for (int32_t beam = 0; beam < beams; ++beam) {
        if (!DeadlinePassed(blob, kBeamTimer, world, beam))
            continue;
        SpaceObject* target = world.GetSpaceObject(targetId);
        const float range = ReadFiniteFloat(blob, kBeamRange, beam);
        const float distanceSquared = DistanceSquared(*target, station);
        if (distanceSquared > range * range) {
            if (distanceSquared <= kNearMissRangeSquares * range * range)
                RaiseExciting(*target, kNearMissInterest);
            continue;
        }
        const glm::vec3 colour{ReadFiniteFloat(blob, kBeamColorR, beam), ReadFiniteFloat(blob, kBeamColorG, beam),
                               ReadFiniteFloat(blob, kBeamColorB, beam)};
        WriteInt64(blob, kBeamTimer, DeadlineAfterSeconds(ReadFiniteFloat(blob, kBeamCycleTime, beam)), beam);
        const float amount = ReadFiniteFloat(blob, kBeamDamage, beam) * world.stationShipBeamDamageCoeff;
        StrikeTarget(world, station, *target, {"beam", colour, glm::vec3(0.0f), beam, amount});
        if (!StillThere(world, station, run) || !StillATarget(world, targetId))
            return false;
    }
    return true;
}

bool InLaunchRange(const SpaceObject& station, const SpaceObject& target, const DataKey& rangeKey)
{
    return std::sqrt(DistanceSquared(station, target)) < ReadFiniteFloat(station.data_set, rangeKey);
}

void LaunchDrones(SpaceObject& station, Simulation& world, const SpaceObject& target)
{
    ObjectDataBlob& blob = station.data_set;
    const float interval = ReadFiniteFloat(blob, kDroneLaunchTimer);
    if (!(interval > 0.0f) || !InLaunchRange(station, target, kDroneLaunchMaxRange)
        || !DeadlinePassed(blob, kDroneTimer, world))
        return;
    WriteInt64(blob, kDroneTimer, DeadlineAfterSeconds(interval));
    LaunchDrone(world, station, target.uniqueID, "station_launches_drone");
}

void LaunchTorpedoes(SpaceObject& station, Simulation& world, uint64_t targetId, uint64_t run)
{
    ObjectDataBlob& blob = station.data_set;
    const float interval = ReadFiniteFloat(blob, kTorpLaunchTimer);
    if (!StillATarget(world, targetId))
        return;
    const SpaceObject* target = world.GetSpaceObject(targetId);
    if (!(interval > 0.0f) || !InLaunchRange(station, *target, kTorpLaunchMaxRange)
        || !DeadlinePassed(blob, kTorpTimer, world))
        return;
    WriteInt64(blob, kTorpTimer, DeadlineAfterSeconds(interval));
    const std::string type = ReadString(blob, kTorpedoLaunchType);
    SpaceObject& torpedo = world.MakeTorpedo(station, type);
    // The torpedo's set-up reads its definition: game code, which may end
    // the run; the pending torpedo lives on until the next step.
    CallBehaviourHook(world, &torpedo, kBehaviourAssigned, nullptr);
    if (world.RunCount() != run)
        return;
    WriteUInt64(torpedo.data_set, shipkeys::kWeaponTargetUid, targetId);
    WriteUInt64(torpedo.data_set, shipkeys::kParentUid, station.uniqueID);

    if (ScriptEventSink* script = world.ScriptEvents()) {
        EventMessage event;
        event.tag = "station_launches_missile";
        event.origin_id = torpedo.uniqueID;
        event.parent_id = station.uniqueID;
        event.extra_tag = torpedo.side;
        event.extra_extra_tag = type;
        event.event_time = world.TickCount();
        event.source_point = torpedo.pos;
        script->HandleEvent(event);
    }
}

void Tick(SpaceObject& station, Simulation& world)
{
    // Once per tick, however many ticks the frame runs.
    station.rot_quat = station.rot_quat * glm::angleAxis(kSpinPerTick, kUpAxis);
    if (!world.serverFlag)
        return;

    const uint64_t targetId = ReadUInt64(station.data_set, kTargetId);
    const SpaceObject* target = FindLive(world, targetId);
    if (!target || target->data_tag == kInvisibleTag || ReadInt(target->data_set, kDeathTick) != 0)
        return;
    const uint64_t run = world.RunCount();
    if (!FireBeams(station, world, targetId, run))
        return;
    target = world.GetSpaceObject(targetId);
    LaunchDrones(station, world, *target);
    if (StillThere(world, station, run))
        LaunchTorpedoes(station, world, targetId, run);
}

// One step of the explosion per slow pass; the third removes the station.
void PlayExplosion(SpaceObject& station, Simulation& world)
{
    const int64_t state = ReadInt(station.data_set, kDeathState);
    if (state > kLastDeathState)
        return;
    for (const char* burst : {kDeathFlash, state == 1 ? kDeathBlueFire : kDeathFire, kDeathSmoke})
        Burst(world, station.pos, burst);
    if (state == kLastDeathState)
        QueueDestroy(world, station.uniqueID);
    WriteInt(station.data_set, kDeathState, static_cast<int32_t>(state + 1));
}

void Repair(SpaceObject& station, const Simulation& world)
{
    ObjectDataBlob& blob = station.data_set;
    if (!DeadlinePassed(blob, kHealTimer, world))
        return;
    RepairShieldFacings(blob);
    const float armor = ReadFiniteFloat(blob, kArmor) + ReadFiniteFloat(blob, kRepairRateArmor);
    WriteFloat(blob, kArmor, std::min(ReadFiniteFloat(blob, kArmorMax), std::max(0.0f, armor)));
    WriteInt64(blob, kHealTimer, world.TickCount() + kRepairTicks);
}

void SlowTick(SpaceObject& station, Simulation& world)
{
    if (ReadInt(station.data_set, kDeathTick) != 0) {
        PlayExplosion(station, world);
        return;
    }
    SetOffNearbyMines(station, world, kShipMineBursts);
    Repair(station, world);
}

void Die(SpaceObject& station, Simulation& world, const EventMessage& damage)
{
    const std::string name = ReadString(station.data_set, kShownNameTag);
    world.WriteDebugText(name + " (station) destroyed");
    const int64_t now = world.TickCount();
    WriteInt64(station.data_set, kDeathTick, DeathTickOf(now));
    world.SendEffect("npc_death", name, station.side, station.uniqueID, 0, kDeathEffectColour, station.pos, 0);
    if (ScriptEventSink* script = world.ScriptEvents()) {
        EventMessage event;
        event.tag = "station_killed";
        event.selected_id = station.uniqueID;
        event.origin_id = damage.origin_id;
        event.parent_id = damage.parent_id;
        event.extra_tag = station.side;
        event.event_time = now;
        event.source_point = station.pos;
        script->HandleEvent(event);
    }
}

// The first shield facing takes every hit while it holds and is raised (it
// may go below 0); then the armour, whose end is the station's.
void TakeDamage(SpaceObject& station, Simulation& world, const EventMessage& damage)
{
    ObjectDataBlob& blob = station.data_set;
    if (ReadInt(blob, kDeathTick) != 0)
        return;
    // Damage that is no positive number does nothing.
    const float amount = damage.sub_float > 0.0f && std::isfinite(damage.sub_float) ? damage.sub_float : 0.0f;
    const float shield = ReadFloat(blob, kShieldVal);
    if (shield > 0.0f && ReadInt(blob, kShieldsRaisedFlag) != 0) {
        WriteFloat(blob, kShieldVal, shield - amount);
        return;
    }
    const float armor = ReadFiniteFloat(blob, kArmor) - amount;
    WriteFloat(blob, kArmor, armor);
    if (armor <= 0.0f)
        Die(station, world, damage);
}

}  // namespace

void StationAI(Simulation& world, SpaceObject* station, int32_t message, void* data)
{
    switch (message) {
    case kBehaviourAssigned:
        Setup(*station);
        break;
    case kBehaviourTick:
        Tick(*station, world);
        break;
    case kBehaviourSlowTick:
        SlowTick(*station, world);
        break;
    case kBehaviourDamage:
        QEL_ASSERT(data, "tdrPtr");
        if (world.serverFlag)
            TakeDamage(*station, world, *static_cast<const EventMessage*>(data));
        break;
    default:
        break;
    }
}
