// How objects hurt each other and make themselves seen and heard: direct
// damage, blasts, sounds, and the drone's strike.
//
// Damage calls the target's behaviour and the mission script, either of which
// may delete objects or reset the world; no object pointer is held across
// those calls, and blasts look every object up by id when they deal damage.

#include "game/world/Simulation.h"

#include "engine/base/QelNetworkMessage.h"
#include "game/world/BehaviourHookMap.h"
#include "game/world/ObjectId.h"
#include "game/world/ScriptEventSink.h"
#include "game/world/ShipKeys.h"
#include "game/world/WorldServices.h"
#include "helper/CRand.h"
#include "helper/QelAssert.h"

#include <glm/geometric.hpp>

#include <algorithm>
#include <cmath>
#include <utility>

using namespace shipkeys;

namespace {

// A blast grows from nothing to its full radius over this many ticks, then deals
// what it accumulated.
constexpr int64_t kBlastTicks = 30;
// The tree is searched a little beyond the sphere, since it holds fat boxes
// rather than spheres.
constexpr float kBlastSearchMargin = 1.3f;
// Shields of a raised "emp" target are cut to (100 - damage) percent of their
// maximum.
constexpr float kPercent = 100.0f;

constexpr float kExcitingOnDamage = 100.0f;

// The drone's impact: the sound is held back this many ticks between impacts,
// and two bursts mark it.
constexpr int64_t kDroneImpactSoundGap = 300;
const char* const kDroneImpactSound = "torp_impact";
const char* const kDroneSparks =
    "color:#F01,#0F1; lifespan:10,30; image_cell:9; size:15;speed: 2,4; count:1000";
const char* const kDroneSmoke =
    "smoke:True;  color:#999; lifespan:3,90; image_cell:4; size:10;speed:0,0.5; count:1000";

bool HasRaisedShields(const SpaceObject* object)
{
    return ShieldFacingCount(object->data_set) > 0 && ReadInt(object->data_set, kShieldsRaisedFlag) == 1;
}

}  // namespace

void Simulation::ApplyDamage(SpaceObject* target, float amount, SpaceObject* source, uint64_t sourceParentID,
                             const glm::vec3& point, const std::string& valueText, const std::string& kind)
{
    QEL_ASSERT(serverFlag, "serverFlag");
    QEL_ASSERT(VALID_SPACE_OBJ(sourceParentID) || 0 == sourceParentID,
               "VALID_SPACE_OBJ(sourceParentID) || 0 == sourceParentID");
    DeclareFloat(target->data_set, kExciting, kExcitingOnDamage);

    EventMessage event;
    event.tag = "damage";
    event.origin_id = source ? source->uniqueID : 0;
    event.selected_id = target->uniqueID;
    event.parent_id = sourceParentID;
    event.sub_tag = kind;
    event.value_tag = valueText;
    if (source) {
        event.extra_tag = ReadString(source->data_set, kNameTag);
        event.extra_extra_tag = ReadString(source->data_set, kTorpedoTypeValue);
    }
    event.event_time = clock.time_tick_counter;
    event.sub_float = amount;
    event.source_point = point;

    const uint64_t targetId = target->uniqueID;
    CallBehaviourHook(*this, target, kBehaviourDamage, &event);
    // The target's behaviour, like any behaviour, changes only its own object,
    // and may have deleted it.
    if (const SpaceObject* hurt = GetSpaceObject(targetId))
        bounceReach.Include(*hurt);
    if (scriptEvents) {
        scriptEvents->HandleEvent(event);
        // The mission may have moved or resized anything.
        bounceReach.MarkStale();
    }
}

void Simulation::AddBlast(const std::string& kind, const std::string& name, uint64_t sourceId, uint64_t parentId,
                          const glm::vec3& centre, int32_t damage, int32_t radius)
{
    const int64_t now = clock.time_tick_counter;
    blasts.push_back({kind, name, sourceId, parentId, damage, radius, centre, now, now + kBlastTicks, {}});
}

// Every blast grows first; those whose time is up then leave the list and deal
// their damage. Taking them out before dealing keeps the list whole whatever
// the damage handlers do to it.
bool Simulation::UpdateBlasts()
{
    const int64_t now = clock.time_tick_counter;
    if (serverFlag) {
        for (auto blast = blasts.rbegin(); blast != blasts.rend(); ++blast)
            GrowBlast(*blast);
    }
    std::vector<BlastRecord> ended;
    for (auto blast = blasts.rbegin(); blast != blasts.rend(); ++blast) {
        if (now >= blast->endTick)
            ended.push_back(std::move(*blast));
    }
    std::erase_if(blasts, [now](const BlastRecord& blast) { return now >= blast.endTick; });

    const uint64_t run = runCount;
    for (const BlastRecord& blast : ended) {
        DealBlast(blast);
        if (runCount != run)
            return false;
    }
    return true;
}

// The sphere's radius grows linearly; "nuke" adds its damage for every tick an
// object spends inside, "emp" marks objects whose shields are raised.
void Simulation::GrowBlast(BlastRecord& blast)
{
    const int64_t now = clock.time_tick_counter;
    const float radius = static_cast<float>(blast.radius) * static_cast<float>(now - blast.startTick)
                         / static_cast<float>(blast.endTick - blast.startTick);
    container->Query(PlaneBox::Around(blast.centre.x, blast.centre.z, kBlastSearchMargin * radius));
    for (SuperContainerObject* found : container->QueryResults()) {
        const glm::vec3 offset = found->pos - blast.centre;
        if (!(glm::dot(offset, offset) < radius * radius))
            continue;
        const auto* object = static_cast<const SpaceObject*>(found);
        if (blast.kind == "nuke")
            blast.hits[object->uniqueID] += static_cast<float>(blast.damage);
        else if (blast.kind == "emp" && HasRaisedShields(object))
            blast.hits[object->uniqueID] = 0.0f;
    }
}

// Each hit object is looked up again: an earlier hit's handlers may have
// deleted it, or the blast's source.
void Simulation::DealBlast(const BlastRecord& blast)
{
    const uint64_t run = runCount;
    for (const auto& [id, amount] : blast.hits) {
        if (runCount != run)
            return;
        SpaceObject* target = GetSpaceObject(id);
        if (!target)
            continue;
        SpaceObject* source = blast.sourceId != 0 ? GetSpaceObject(blast.sourceId) : nullptr;
        if (blast.kind == "emp") {
            const float keep = 1.0f - static_cast<float>(blast.damage) / kPercent;
            const int32_t facings = ShieldFacingCount(target->data_set);
            for (int32_t i = 0; i < facings; ++i) {
                const float cut = std::min(ReadFloat(target->data_set, kShieldVal, i),
                                           ReadFloat(target->data_set, kShieldMaxVal, i) * keep);
                WriteFloat(target->data_set, kShieldVal, cut, i);
            }
        }
        ApplyDamage(target, amount, source, blast.parentId, blast.centre, "warhead", blast.kind);
    }
}

void Simulation::QueueSoundEvent(const std::string& name, const glm::vec3& position, int64_t minimumGap)
{
    const int64_t now = clock.time_tick_counter;
    int64_t& last = soundLastTicks[name];
    if (minimumGap != 0 && now < last + minimumGap)
        return;
    last = now;
    soundEvents.push_back({name, position, now});
}

// Everything needed of the drone is read before the damage, whose handlers may
// delete it.
void Simulation::SendEffect(const std::string& kind, const std::string& secondText, const std::string& thirdText,
                            uint64_t firstId, uint64_t secondId, const glm::vec3& firstPoint,
                            const glm::vec3& secondPoint, int32_t value)
{
    if (effects)
        effects->SendBeam(kind, secondText, thirdText, firstId, secondId, firstPoint, secondPoint, value);
    else
        AddEffectEvent(kind, secondText, thirdText, firstId, secondId, firstPoint, secondPoint, value);
}

void Simulation::DroneHitTarget(SpaceObject* drone, uint64_t parentId, SpaceObject* target)
{
    const uint64_t droneId = drone->uniqueID;
    const glm::vec3 where = drone->pos;
    const float amount = ReadFloat(drone->data_set, kDroneDamage);
    const std::string droneSide = drone->side;
    ApplyDamage(target, amount, drone, parentId, where, droneSide, "drone");
    if (pendingDestroys)
        pendingDestroys->QueueDestroy(droneId);
    if (serverFlag)
        QueueSoundEvent(kDroneImpactSound, where, kDroneImpactSoundGap);
    if (particles) {
        particles->ParticleAt(where, kDroneSparks);
        particles->ParticleAt(where, kDroneSmoke);
    }
}

glm::vec3 JitterPosition(const glm::vec3& point)
{
    constexpr float kPi = 3.14159265358979f;
    const float r1 = static_cast<float>(crand()) / CRAND_MAX;
    const float r2 = static_cast<float>(crand()) / CRAND_MAX;
    const float t = r2 * 2.0f * kPi - kPi;
    return {point.x + std::sin(t) * 0.01f, point.y + r1 * 0.02f - 0.01f, point.z + std::cos(t) * 0.01f};
}
