#include "game/behaviours/BehaviourSupport.h"

#include "game/behaviours/PlayerShipKeys.h"
#include "game/world/BehaviourHookMap.h"
#include "game/world/FiniteMath.h"
#include "game/world/ObjectId.h"
#include "game/world/RandomInt.h"
#include "game/world/ScriptEventSink.h"
#include "game/world/ShipData.h"
#include "game/world/ShipDataRecord.h"
#include "game/world/ShipKeys.h"
#include "game/world/Simulation.h"
#include "game/world/SimulationTimer.h"
#include "game/world/SpaceObject.h"
#include "game/world/WorldEnums.h"
#include "game/world/WorldServices.h"
#include "helper/CRand.h"
#include "helper/GeneralUtils.h"

#include <glm/geometric.hpp>
#include <glm/gtc/quaternion.hpp>

#include <algorithm>
#include <cmath>
#include <memory>
#include <numbers>

using namespace shipkeys;
using namespace playership;

namespace behaviours {

namespace {

// Turbulence is given in hundredths of a radian of shake per pass.
constexpr float kTurbulenceScale = 0.01f;
// A well's strength a script set far beyond any speed still moves an object
// no farther than this a tick.
constexpr float kMaxPullPerTick = 2000.0f;
const glm::vec3 kAxisX{1.0f, 0.0f, 0.0f};
const glm::vec3 kAxisY{0.0f, 1.0f, 0.0f};

// A launched drone: its radius of the registry's tree, its first speed, and
// how far below the launcher's nose it leaves.
constexpr float kDroneFatRadius = 300.0f;
constexpr float kDroneLaunchSpeed = 10.0f;
constexpr float kDroneLaunchPitch = 0.7f;
const char* const kDroneDataTag = "drone";

constexpr float kDefaultShieldRepairRate = 0.1f;
constexpr float kDefaultSystemRepairRate = 0.01f;

// Timer intervals are held to a day, so a script's huge value cannot
// overflow the tick count.
constexpr float kLongestInterval = 86400.0f;

// A mine's blast and the colour of its effect.
const char* const kNukeKind = "nuke";
const glm::vec3 kNukeColour{1.0f, 0.4f, 0.0f};

float DistanceSquared(const glm::vec3& a, const glm::vec3& b)
{
    const glm::vec3 d = a - b;
    return glm::dot(d, d);
}

// A uniform angle in [-limit, +limit], from the program's own generator.
float ShakeAngle(float limit)
{
    return static_cast<float>(crand()) / CRAND_MAX * 2.0f * limit - limit;
}

}  // namespace

const MineBursts kShipMineBursts{
    "color:#FFF; lifespan:10,30; image_cell:8; size:10;speed: 10; count:300",
    "color:#F01,#0F1; lifespan:10,30; image_cell:9; size:50;speed: 2,8; count:300",
    "smoke:True;  color:#999; lifespan:3,90; image_cell:4; size:20;speed:0,1.5; count:300",
};

bool DeadlinePassed(const ObjectDataBlob& blob, const DataKey& key, const Simulation& world, int32_t index)
{
    const int64_t deadline = ReadInt(blob, key, index);
    return deadline == 0 || world.TickCount() >= deadline;
}

int64_t DeadlineAfterSeconds(float seconds)
{
    simulationTimer timer;
    timer.SetSeconds(static_cast<int32_t>(std::isfinite(seconds) ? std::clamp(seconds, 0.0f, kLongestInterval) : 0.0f));
    return timer.tick;
}

const ShipDataRecord& HullRecordOf(const SpaceObject& object)
{
    static const ShipDataRecord kNoRecord;
    const ShipDataRecord* record = ShipData::Instance().Find(object.data_tag);
    return record ? *record : kNoRecord;
}

SpaceObject* FindLive(const Simulation& world, uint64_t id)
{
    return VALID_SPACE_OBJ(id) ? world.GetSpaceObject(id) : nullptr;
}

std::vector<SpaceObject*> Neighbours(const Simulation& world, const glm::vec3& point, float halfSize)
{
    std::vector<SpaceObject*> found;
    SuperContainer* container = world.Container();
    if (!container)
        return found;
    container->Query(PlaneBox::Around(point.x, point.z, halfSize));
    found.reserve(container->QueryResults().size());
    for (SuperContainerObject* object : container->QueryResults())
        found.push_back(static_cast<SpaceObject*>(object));
    return found;
}

bool StillThere(const Simulation& world, const SpaceObject& object, uint64_t run)
{
    return world.RunCount() == run && world.GetSpaceObject(object.uniqueID) == &object;
}

void RaiseExciting(SpaceObject& object, float value)
{
    if (ReadFloat(object.data_set, kExciting) < value)
        WriteFloat(object.data_set, kExciting, value);
}

void SteerToward(SpaceObject& object, const glm::vec3& nose, const glm::vec3& point, float limit)
{
    const glm::vec3 u = SafeNormalize(point - object.pos);
    if (u == glm::vec3(0.0f) || !std::isfinite(limit))
        return;
    const float horizontal = std::sqrt(u.x * u.x + u.z * u.z);
    const float noseHorizontal = std::sqrt(nose.x * nose.x + nose.z * nose.z);
    object.turn_yaw = TurnToward(0.0f, 0.0f, u.x, u.z, std::atan2(nose.x, nose.z), limit);
    object.turn_pitch = -TurnToward(0.0f, 0.0f, u.y, horizontal, std::atan2(nose.y, noseHorizontal), limit);
}

void ApplyGravityPull(SpaceObject& object)
{
    const ObjectDataBlob& blob = object.data_set;
    const float strength = std::clamp(ReadFloat(blob, kPullStrength), -kMaxPullPerTick, kMaxPullPerTick);
    // A strength that is not a number would move the object to nowhere; it
    // pulls nothing.
    if (strength == 0.0f || !std::isfinite(strength))
        return;
    const float shake = ReadFiniteFloat(blob, kTurbulenceLevel) * kTurbulenceScale;
    const glm::vec3 toWell{ReadFiniteFloat(blob, kPullVectorX), ReadFiniteFloat(blob, kPullVectorY),
                           ReadFiniteFloat(blob, kPullVectorZ)};
    object.pos += SafeNormalize(toWell) * strength;
    const float yawShake = ShakeAngle(shake);
    const float pitchShake = ShakeAngle(shake);
    object.rot_quat = object.rot_quat * glm::angleAxis(pitchShake, kAxisX) * glm::angleAxis(yawShake, kAxisY);
}

void TakePullOfWell(SpaceObject& object, const SpaceObject& well)
{
    if (!well.IsStatic())
        return;
    const auto radius = static_cast<double>(ReadInt(well.data_set, kGravityRadius));
    if (radius <= 0.0 || !(DistanceSquared(well.pos, object.pos) < radius * radius))
        return;
    ObjectDataBlob& blob = object.data_set;
    WriteFloat(blob, kPullStrength, ReadFloat(well.data_set, kGravityStrength));
    WriteFloat(blob, kTurbulenceLevel, ReadFloat(well.data_set, kTurbulenceStrength));
    const glm::vec3 toWell = well.pos - object.pos;
    WriteFloat(blob, kPullVectorX, toWell.x);
    WriteFloat(blob, kPullVectorY, toWell.y);
    WriteFloat(blob, kPullVectorZ, toWell.z);
}

namespace {

void TakePullOfWellsAmong(SpaceObject& object, const std::vector<SpaceObject*>& around);
void SetOffMinesAmong(SpaceObject& object, Simulation& world, const MineBursts& bursts, float triggerDistance,
                      const std::vector<SpaceObject*>& around);

}  // namespace

void FindGravityWells(SpaceObject& object, const Simulation& world)
{
    TakePullOfWellsAmong(object, Neighbours(world, object.pos));
}

void SetOffNearbyMines(SpaceObject& object, Simulation& world, const MineBursts& bursts, float triggerDistance)
{
    if (!(triggerDistance > 0.0f))
        return;
    SetOffMinesAmong(object, world, bursts, triggerDistance,
                     Neighbours(world, object.pos, std::max(kNeighbourhood, triggerDistance)));
}

// Setting off mines moves, makes and frees nothing (the mines go through the
// server's deletion queue), so both find in one search what each would find
// in its own.
void SetOffMinesAndFindWells(SpaceObject& object, Simulation& world, const MineBursts& bursts)
{
    static_assert(kMineTriggerDistance > 0.0f && kMineTriggerDistance <= kNeighbourhood,
                  "the neighbourhood holds every mine close enough");
    const std::vector<SpaceObject*> around = Neighbours(world, object.pos);
    SetOffMinesAmong(object, world, bursts, kMineTriggerDistance, around);
    TakePullOfWellsAmong(object, around);
}

namespace {

void TakePullOfWellsAmong(SpaceObject& object, const std::vector<SpaceObject*>& around)
{
    for (const SpaceObject* well : around)
        TakePullOfWell(object, *well);
}

void SetOffMinesAmong(SpaceObject& object, Simulation& world, const MineBursts& bursts, float triggerDistance,
                      const std::vector<SpaceObject*>& around)
{
    const std::string name = ReadString(object.data_set, kNameTag);
    // Ids first: a blast record and particles run no game code, but the mines
    // are looked up again so none goes off twice.
    std::vector<uint64_t> mines;
    for (SpaceObject* found : around) {
        if (found->tick_type == kMineBehaviour && found->data_tag != kInvisibleTag
            && DistanceSquared(found->pos, object.pos) < triggerDistance * triggerDistance)
            mines.push_back(found->uniqueID);
    }
    for (uint64_t id : mines) {
        SpaceObject* mine = world.GetSpaceObject(id);
        if (!mine)
            continue;
        const glm::vec3 where = mine->pos;
        const uint64_t parent = ReadUInt64(mine->data_set, kParentUid);
        QueueDestroy(world, id);
        world.AddBlast(kNukeKind, name, id, VALID_SPACE_OBJ(parent) ? parent : 0, where,
                       static_cast<int32_t>(ReadInt(mine->data_set, kDamageDone)),
                       static_cast<int32_t>(ReadInt(mine->data_set, kBlastRadius)));
        for (const char* burst : {bursts.flash, bursts.fire, bursts.smoke})
            Burst(world, where, burst);
        world.SendEffect(kNukeKind, name, mine->side, id, 0, kNukeColour, where, 0);
    }
}

}  // namespace

int64_t SplitIntoSystemPoints(ObjectDataBlob& blob, float amount)
{
    // Beyond what any ship can take, more points change nothing.
    constexpr float kMostPoints = 1e6f;
    const float share = amount > 0.0f && std::isfinite(amount) ? std::min(amount / kDamagePerSystemPoint, kMostPoints)
                                                               : 0.0f;
    int64_t points = static_cast<int64_t>(share);
    float carry = share - static_cast<float>(points) + std::clamp(ReadFiniteFloat(blob, kFractionalDamage), 0.0f, 1.0f);
    while (carry >= 1.0f) {
        ++points;
        carry -= 1.0f;
    }
    WriteFloat(blob, kFractionalDamage, carry);
    return points;
}

int64_t PlaceableSystemPoints(const ObjectDataBlob& blob)
{
    double room = 0.0;
    for (int32_t system = 0; system < SHPSYS_MAX; ++system)
        room += std::max(0.0, std::ceil(double(ReadFloat(blob, kSystemMaxDamage, system))
                                        - double(ReadFloat(blob, kSystemDamage, system))));
    return static_cast<int64_t>(std::min(room, 1e9)) + 1;
}

bool DamageRandomSystem(ObjectDataBlob& blob, Simulation& world)
{
    constexpr int32_t kSystemDraws = 40;
    for (int32_t draw = 0; draw < kSystemDraws; ++draw) {
        const int32_t system = RandomInt(world.randomState, 0, SHPSYS_MAX - 1);
        const float damage = ReadFloat(blob, kSystemDamage, system);
        if (damage < ReadFloat(blob, kSystemMaxDamage, system)) {
            WriteFloat(blob, kSystemDamage, damage + 1.0f, system);
            return true;
        }
    }
    return false;
}

void StrikeTarget(Simulation& world, SpaceObject& shooter, SpaceObject& target, const BeamStrike& strike)
{
    world.SendEffect(strike.kind, ReadString(shooter.data_set, kNameTag), shooter.side, shooter.uniqueID,
                     target.uniqueID, strike.colour, strike.secondPoint, strike.port);
    const uint64_t parent = ReadUInt64(shooter.data_set, kParentUid);
    world.ApplyDamage(&target, strike.amount, &shooter, VALID_SPACE_OBJ(parent) ? parent : 0, shooter.pos,
                      shooter.side, "beam");
}

void DeclareHullShields(ObjectDataBlob& blob, const ShipDataRecord& record)
{
    using namespace playership;
    const auto shieldCount = static_cast<int32_t>(std::min<size_t>(record.shields.size(), kMaxShieldFacings));
    DeclareInt(blob, kShieldCount, shieldCount);
    DeclareInt(blob, kShieldsRaisedFlag, 1);
    for (int32_t facing = 0; facing < shieldCount; ++facing) {
        DeclareFloat(blob, kShieldVal, record.shields[facing], facing);
        DeclareFloat(blob, kShieldMaxVal, record.shields[facing], facing);
        DeclareFloat(blob, kShieldDamageCoeff, 1.0f, facing);
    }
    DeclareFloat(blob, kRepairRateShields, kDefaultShieldRepairRate);
    DeclareFloat(blob, kRepairRateSystems, kDefaultSystemRepairRate);
}

void RepairShieldFacings(ObjectDataBlob& blob)
{
    using namespace playership;
    const int32_t facings = ShieldFacingCount(blob);
    const float rate = ReadFiniteFloat(blob, kRepairRateShields);
    for (int32_t facing = 0; facing < facings; ++facing) {
        const float value = ReadFloat(blob, kShieldVal, facing);
        const float maximum = ReadFloat(blob, kShieldMaxVal, facing);
        if (value < maximum) {
            const float mended = value + rate * ReadFiniteFloat(blob, kShieldDamageCoeff, facing);
            WriteFloat(blob, kShieldVal, std::min(maximum, std::max(-maximum, mended)), facing);
        }
    }
}

void LaunchDrone(Simulation& world, SpaceObject& launcher, uint64_t targetId, const std::string& eventType)
{
    std::unique_ptr<SpaceObject> made = world.MakeSpaceObject(0, kDroneBehaviour, kDroneDataTag,
                                                               SpaceObject::kFastMoverBit, 0.0f, 0.0f, kDroneFatRadius);
    SpaceObject& drone = *made;
    drone.pos = JitterPosition(launcher.pos);
    drone.side = launcher.side;
    drone.cur_speed = kDroneLaunchSpeed;
    drone.rot_quat = launcher.rot_quat * glm::angleAxis(kDroneLaunchPitch, kAxisX);
    drone.lastUpdateTick = world.TickCount();
    drone.SetFatBox(kDroneFatRadius);
    world.AddPendingObject(std::move(made));
    CallBehaviourHook(world, &drone, kBehaviourAssigned, nullptr);
    WriteFloat(drone.data_set, kDroneDamage, ReadFloat(launcher.data_set, kDroneDamage));
    WriteUInt64(drone.data_set, kWeaponTargetUid, targetId);
    WriteUInt64(drone.data_set, kParentUid, launcher.uniqueID);

    if (ScriptEventSink* script = world.ScriptEvents()) {
        EventMessage event;
        event.tag = eventType;
        event.origin_id = drone.uniqueID;
        event.parent_id = launcher.uniqueID;
        event.extra_tag = drone.side;
        event.event_time = world.TickCount();
        event.source_point = drone.pos;
        script->HandleEvent(event);
    }
}

void QueueDestroy(Simulation& world, uint64_t id)
{
    if (PendingDestroySink* destroys = world.PendingDestroys())
        destroys->QueueDestroy(id);
}

void Burst(Simulation& world, const glm::vec3& point, const char* descriptor)
{
    if (ParticleSink* particles = world.Particles())
        particles->ParticleAt(point, descriptor);
}

void DeclareBeamPort(ObjectDataBlob& blob, const ShipBeamPort& port, int32_t beam)
{
    DeclareFloat(blob, kBeamRange, port.range, beam);
    DeclareFloat(blob, kBeamArcWidth, port.arcWidth, beam);
    DeclareFloat(blob, kBeamDamage, port.damageCoeff, beam);
    DeclareFloat(blob, kBeamCycleTime, port.cycleTime, beam);
    DeclareFloat(blob, kBeamBarrelAngle, port.barrelAngle, beam);
    DeclareFloat(blob, kBeamColorR, port.color.r, beam);
    DeclareFloat(blob, kBeamColorG, port.color.g, beam);
    DeclareFloat(blob, kBeamColorB, port.color.b, beam);
    DeclareFloat(blob, kBeamColorA, port.color.a, beam);
    DeclareFloat(blob, kBeamHullPointX, port.position.x, beam);
    DeclareFloat(blob, kBeamHullPointY, port.position.y, beam);
    DeclareFloat(blob, kBeamHullPointZ, port.position.z, beam);
}

glm::vec3 BeamHullPoint(const ObjectDataBlob& blob, int32_t beam)
{
    return {ReadFiniteFloat(blob, kBeamHullPointX, beam), ReadFiniteFloat(blob, kBeamHullPointY, beam),
            ReadFiniteFloat(blob, kBeamHullPointZ, beam)};
}

glm::vec3 BeamColour(const ObjectDataBlob& blob, int32_t beam)
{
    return {ReadFiniteFloat(blob, kBeamColorR, beam), ReadFiniteFloat(blob, kBeamColorG, beam),
            ReadFiniteFloat(blob, kBeamColorB, beam)};
}

bool BeamArcHolds(const SpaceObject& ship, int32_t beam, const glm::vec3& offset)
{
    // Barrel angles from this on mean "along the line through the hull point".
    constexpr float kHullPointBarrel = 1000.0f;
    const ObjectDataBlob& blob = ship.data_set;
    const float barrel = ReadFiniteFloat(blob, kBeamBarrelAngle, beam);
    const float radians = barrel * std::numbers::pi_v<float> / 180.0f;
    const glm::vec3 local = barrel < kHullPointBarrel ? glm::vec3(std::sin(radians), 0.0f, std::cos(radians))
                                                      : SafeNormalize(BeamHullPoint(blob, beam));
    const glm::vec3 axis = ship.rot_quat * local;
    const float off = std::acos(std::clamp(glm::dot(axis, SafeNormalize(offset)), -1.0f, 1.0f));
    const float halfArc = ReadFiniteFloat(blob, kBeamArcWidth, beam) * std::numbers::pi_v<float> / 180.0f * 0.5f;
    return halfArc > off;
}


}  // namespace behaviours
