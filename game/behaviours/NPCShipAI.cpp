#include "game/behaviours/NPCShipAI.h"

#include "game/behaviours/NPCShipDamage.h"
#include "game/behaviours/NPCShipKeys.h"
#include "game/behaviours/NPCShipSetup.h"
#include "game/world/BehaviourHookMap.h"
#include "game/world/ObjectId.h"
#include "game/world/ShipKeys.h"
#include "game/world/Simulation.h"
#include "game/world/SpaceObject.h"
#include "helper/QelAssert.h"

#include <glm/geometric.hpp>

#include <algorithm>
#include <cmath>

using namespace behaviours;
using namespace npcship;

namespace {

// Speed eases toward the ordered one: 25 parts kept of 26.
constexpr float kSpeedKeptParts = 25.0f;
constexpr float kSpeedTotalParts = 26.0f;
constexpr float kTurnScale = 0.005f;
// A target within √2 of a beam's range interests the camera.
constexpr float kNearMissRangeSquares = 2.0f;
constexpr float kNearMissInterest = 60.0f;
// Drone launches: an elite launcher without an interval gets this one; a
// system 0 at half health or less launches at half the rate.
constexpr float kEliteDroneInterval = 30.0f;
constexpr float kHalfHealth = 0.5f;

void Steer(SpaceObject& ship)
{
    const ObjectDataBlob& blob = ship.data_set;
    const glm::vec3 ordered{ReadFiniteFloat(blob, kTargetPosX), ReadFiniteFloat(blob, kTargetPosY),
                            ReadFiniteFloat(blob, kTargetPosZ)};
    const float limit = ReadFiniteFloat(blob, kNpcTurnRate) * ReadFiniteFloat(blob, kTurnDamageCoeff)
                        * ReadFiniteFloat(blob, kTurnUpgradeCoeff) * kTurnScale;
    SteerToward(ship, ship.ForwardVector(), ordered, limit);
}

// A ship rammed by an object that does collision damage takes it; only the
// first contact counts, and the list is cleared.
void TakeCollision(SpaceObject& ship, Simulation& world)
{
    if (ship.contactList.empty())
        return;
    SpaceObject* other = FindLive(world, ship.contactList.front());
    ship.contactList.clear();
    if (!other)
        return;
    const int64_t amount = ReadInt(other->data_set, kCollisionDamage);
    if (amount > 0)
        world.ApplyDamage(&ship, static_cast<float>(amount), other, 0, other->pos, other->side, other->data_tag);
}

// Fires every ready port whose arc holds the target. False when the ship or
// its target is gone after a shot.
bool FireBeams(SpaceObject& ship, Simulation& world, uint64_t targetId, float weaponsHealth, uint64_t run)
{
    ObjectDataBlob& blob = ship.data_set;
    const int32_t ports = static_cast<int32_t>(std::clamp<int64_t>(ReadInt(blob, kBeamCount), 0, kMaxBeamPorts));
    for (int32_t port = 0; port < ports; ++port) {
        if (!DeadlinePassed(blob, kBeamTimer, world, port))
            continue;
        SpaceObject* target = world.GetSpaceObject(targetId);
        const glm::vec3 offset = target->pos - ship.pos;
        const float range = ReadFiniteFloat(blob, kBeamRange, port);
        const float distanceSquared = glm::dot(offset, offset);
        if (distanceSquared > range * range) {
            if (distanceSquared <= kNearMissRangeSquares * range * range)
                RaiseExciting(*target, kNearMissInterest);
            continue;
        }
        if (!BeamArcHolds(ship, port, offset))
            continue;

        WriteInt64(blob, kBeamTimer, DeadlineAfterSeconds(ReadFiniteFloat(blob, kBeamCycleTime, port)), port);
        const float amount = ReadFiniteFloat(blob, kBeamDamage, port) * world.npcShipBeamDamageCoeff * weaponsHealth
                             * ReadFiniteFloat(blob, kBeamDamageCoeff, port);
        StrikeTarget(world, ship, *target, {"beam", BeamColour(blob, port), BeamHullPoint(blob, port), port, amount});
        if (!StillThere(world, ship, run) || !world.GetSpaceObject(targetId)
            || ReadInt(world.GetSpaceObject(targetId)->data_set, kDeathTick) != 0)
            return false;
    }
    return true;
}

void LaunchDrones(SpaceObject& ship, Simulation& world, const SpaceObject& target, float weaponsHealth)
{
    ObjectDataBlob& blob = ship.data_set;
    float interval = ReadFiniteFloat(blob, kDroneLaunchTimer);
    if (interval == 0.0f && ReadInt(blob, kEliteDroneLauncher) != 0) {
        WriteFloat(blob, kDroneLaunchTimer, kEliteDroneInterval);
        interval = kEliteDroneInterval;
    }
    if (weaponsHealth <= 0.0f)
        interval = 0.0f;
    else if (weaponsHealth <= kHalfHealth)
        interval *= 2.0f;
    if (ReadInt(blob, kSurrenderFlag) != 0 || !(interval > 0.0f) || !DeadlinePassed(blob, kDroneTimer, world))
        return;
    if (!(glm::length(target.pos - ship.pos) < ReadFiniteFloat(blob, kDroneLaunchMaxRange)))
        return;
    WriteInt64(blob, kDroneTimer, DeadlineAfterSeconds(interval));
    LaunchDrone(world, ship, target.uniqueID, "ship_launches_drone");
}

void Tick(SpaceObject& ship, Simulation& world)
{
    ObjectDataBlob& blob = ship.data_set;
    // What the speed, the steering and the gravity pull read.
    blob.Prefetch({{kSpeedCoeff.key, 0}, {kThrottle.key, 0}, {kSystemMaxDamage.key, 1}, {kSystemDamage.key, 1},
                   {kTargetPosX.key, 0}, {kTargetPosY.key, 0}, {kTargetPosZ.key, 0}, {kNpcTurnRate.key, 0},
                   {kTurnDamageCoeff.key, 0}, {kTurnUpgradeCoeff.key, 0}, {kPullStrength.key, 0},
                   {kTargetId.key, 0}});
    const float ordered =
        ReadFiniteFloat(blob, kSpeedCoeff) * ReadFiniteFloat(blob, kThrottle) * NPCShipSystemHealth(ship, 1);
    const float speed = (ordered + ship.cur_speed * kSpeedKeptParts) / kSpeedTotalParts;
    ship.cur_speed = std::isfinite(speed) ? speed : 0.0f;
    Steer(ship);
    if (!world.serverFlag)
        return;

    const uint64_t run = world.RunCount();
    ApplyGravityPull(ship);
    TakeCollision(ship, world);
    if (!StillThere(world, ship, run) || ship.data_tag == kInvisibleTag)
        return;

    const uint64_t targetId = ReadUInt64(blob, kTargetId);
    const SpaceObject* target = FindLive(world, targetId);
    if (!target || target->data_tag == kInvisibleTag || ReadInt(target->data_set, kDeathTick) != 0)
        return;
    const float weaponsHealth = NPCShipSystemHealth(ship, 0);
    if (weaponsHealth > 0.0f && !FireBeams(ship, world, targetId, weaponsHealth, run))
        return;
    LaunchDrones(ship, world, *world.GetSpaceObject(targetId), weaponsHealth);
}

// The shield display's wave eases a quarter of the way to its new shape.
void EaseShieldWave(ObjectDataBlob& blob)
{
    const DataKey targets[3] = {shipkeys::kShieldWaveAmplitude, shipkeys::kShieldWaveFrequency,
                                shipkeys::kShieldWaveOffset};
    for (int32_t i = 0; i < 3; ++i)
        WriteFloat(blob, kShieldWaveValue,
                   (3.0f * ReadFiniteFloat(blob, kShieldWaveValue, i) + ReadFiniteFloat(blob, targets[i])) / 4.0f, i);
}

void SlowTick(SpaceObject& ship, Simulation& world)
{
    if (ReadInt(ship.data_set, kDeathTick) != 0) {
        NPCShipBurst(ship, world);
        return;
    }
    WriteInt(ship.data_set, kPullStrength, 0);
    EaseShieldWave(ship.data_set);
    SetOffMinesAndFindWells(ship, world, kShipMineBursts);
    NPCShipRepair(ship, world);
}

}  // namespace

void NPCShipAI(Simulation& world, SpaceObject* ship, int32_t message, void* data)
{
    switch (message) {
    case kBehaviourAssigned:
        NPCShipSetup(*ship, world);
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
            NPCShipTakeDamage(*ship, world, *static_cast<const EventMessage*>(data));
        break;
    default:
        break;
    }
}
