#include "game/behaviours/DroneAI.h"

#include "game/behaviours/BehaviourSupport.h"
#include "game/world/BehaviourHookMap.h"
#include "game/world/ShipKeys.h"
#include "game/world/Simulation.h"
#include "game/world/SpaceObject.h"
#include "helper/QelAssert.h"

#include <glm/geometric.hpp>

#include <cmath>

using namespace behaviours;
using namespace shipkeys;

namespace {

inline constexpr DataKey kDroneDamageSetting{"drone_damage",
    "this drone does this damage when it hits something."};

constexpr float kDefaultDroneDamage = 15.0f;
// A damaged drone bursts this many ticks later.
constexpr int64_t kDyingTicks = 21;
const char* const kDeathBurst = "color:#F01,#0F1; lifespan:30; image_cell:9; size:20;speed: 1; count:1000";

// The aim point starts this far ahead of the nose (the drone flies along its
// forward axis); a target adds a fixed pull toward it, free flight the pull of
// every object near.
const glm::vec3 kNoseOffset{0.0f, 0.0f, 10.03f};
constexpr float kTargetPull = 21.1f;
constexpr float kFreePullScale = 30000.0f;
// A candidate is struck within twice its exclusion radius.
constexpr float kStrikeRadii = 2.0f;
constexpr float kOwnInterest = 25.0f;
constexpr float kTargetInterest = 50.0f;
// The turn limit grows with age: (lifecount / 200 + 10) × 0.005 per tick.
constexpr float kAgeTurnTicks = 200.0f;
constexpr float kBaseTurnSteps = 10.0f;
constexpr float kTurnStep = 0.005f;

struct Aim {
    glm::vec3 point;
    SpaceObject* candidate = nullptr;
};

bool WithinStrike(const SpaceObject& object, float distance)
{
    return distance < kStrikeRadii * object.exclusion_radius;
}

// Whether a free-flying drone is drawn to the object: not its launcher, not
// static, not itself, not hidden, not its own side, and no other weapon or
// pickup.
bool Attracts(const SpaceObject& drone, const SpaceObject& other, uint64_t parent)
{
    if (other.uniqueID == parent || other.IsStatic() || &other == &drone || other.data_tag == kInvisibleTag)
        return false;
    if (!drone.side.empty() && other.side == drone.side)
        return false;
    return other.tick_type != kDroneBehaviour && other.tick_type != kPickupBehaviour
           && other.tick_type != kMissileBehaviour;
}

Aim HomeOn(SpaceObject& drone, const Simulation& world, glm::vec3 aim, uint64_t targetId, uint64_t parent)
{
    SpaceObject* target = FindLive(world, targetId);
    if (target && target->data_tag != kInvisibleTag) {
        const glm::vec3 d = target->pos - drone.pos;
        const float r = glm::length(d);
        if (r > 0.0f)
            aim += d / r * kTargetPull;
        RaiseExciting(*target, kTargetInterest);
        return {aim, WithinStrike(*target, r) ? target : nullptr};
    }
    SpaceObject* candidate = nullptr;
    for (SpaceObject* other : Neighbours(world, drone.pos)) {
        if (!Attracts(drone, *other, parent))
            continue;
        RaiseExciting(*other, kTargetInterest);
        const glm::vec3 d = other->pos - drone.pos;
        const float r = glm::length(d);
        // An object at the drone's own place gives no direction to pull in.
        if (r > 0.0f)
            aim += d / r * kFreePullScale / std::pow(r, 1.5f);
        if (WithinStrike(*other, r))
            candidate = other;
    }
    return {aim, candidate};
}

// The contact list, from its front: the launcher's entries go, and the first
// live object is struck; then the list is cleared.
void StrikeContact(SpaceObject& drone, Simulation& world, uint64_t parent)
{
    std::erase(drone.contactList, parent);
    for (uint64_t id : drone.contactList) {
        if (SpaceObject* hit = world.GetSpaceObject(id)) {
            drone.contactList.clear();
            world.DroneHitTarget(&drone, parent, hit);
            return;
        }
    }
}

void Tick(SpaceObject& drone, Simulation& world)
{
    ObjectDataBlob& blob = drone.data_set;
    const int64_t deathTick = ReadInt(blob, kDeathTick);
    if (deathTick != 0) {
        if (world.TickCount() - deathTick >= kDyingTicks) {
            QueueDestroy(world, drone.uniqueID);
            Burst(world, drone.pos, kDeathBurst);
        }
        return;
    }

    const glm::vec3 nose = drone.rot_quat * kNoseOffset;
    const uint64_t parent = ReadUInt64(blob, kParentUid);
    RaiseExciting(drone, kOwnInterest);
    const Aim aim = HomeOn(drone, world, drone.pos + nose, ReadUInt64(blob, kWeaponTargetUid), parent);

    const auto age = static_cast<float>(ReadUInt64(blob, kLifeCount));
    WriteUInt64(blob, kLifeCount, ReadUInt64(blob, kLifeCount) + 1);
    const float limit = (age / kAgeTurnTicks + kBaseTurnSteps) * kTurnStep;
    SteerToward(drone, nose, aim.point, limit);

    if (!world.serverFlag)
        return;
    if (aim.candidate) {
        world.DroneHitTarget(&drone, parent, aim.candidate);
        return;
    }
    ApplyGravityPull(drone);
    StrikeContact(drone, world, parent);
}

}  // namespace

void DroneAI(Simulation& world, SpaceObject* drone, int32_t message, void* data)
{
    switch (message) {
    case kBehaviourAssigned:
        DeclareFloat(drone->data_set, kDroneDamageSetting, kDefaultDroneDamage);
        DeclareInt(drone->data_set, kDeathTick, 0);
        break;
    case kBehaviourTick:
        Tick(*drone, world);
        break;
    case kBehaviourSlowTick:
        FindGravityWells(*drone, world);
        break;
    case kBehaviourDamage:
        QEL_ASSERT(data, "tdrPtr");
        if (ReadInt(drone->data_set, kDeathTick) == 0)
            DeclareInt64(drone->data_set, kDeathTick, DeathTickOf(world.TickCount()));
        break;
    default:
        break;
    }
}
