// The world's two steps: the frame step (admissions, tree upkeep, the server's
// slow pass) and the tick (motion, behaviours, and the ageing of everything
// short-lived).

#include "game/world/Simulation.h"

#include "game/world/BehaviourHookMap.h"
#include "game/world/BoltStrike.h"
#include "game/world/BounceReach.h"
#include "game/world/FiniteMath.h"
#include "game/world/HullPathSets.h"
#include "game/world/ObjectDataBlobElement.h"
#include "engine/base/QelNetworkMessage.h"
#include "helper/QelAssert.h"

#include <glm/geometric.hpp>
#include <glm/gtc/quaternion.hpp>

#include <algorithm>
#include <cmath>

namespace {

const glm::vec3 kAxisX{1.0f, 0.0f, 0.0f};
const glm::vec3 kAxisY{0.0f, 1.0f, 0.0f};
const glm::vec3 kAxisZ{0.0f, 0.0f, 1.0f};

// "exciting" feeds the cinematic camera: damage sets it to its top, and the
// slow pass lets it fade by this much each time.
constexpr float kExcitingMax = 100.0f;
constexpr float kExcitingFade = 0.5f;

// A client's copy eases toward the server's state: this share of the way to
// the sent orientation each tick...
constexpr float kClientTurnBlend = 0.08f;
// ...and the position moves 1/101 of the way, unless it is so far off (more
// than 2000 units) that easing would look worse than a jump.
constexpr float kClientSnapDistanceSquared = 2000.0f * 2000.0f;
constexpr float kClientPositionWeight = 100.0f;
// Above this cosine the two orientations are so close that a straight blend
// is exact enough and spares a division by a vanishing sine.
constexpr float kSlerpLinearCosine = 0.9999999f;

constexpr float kMinBounceRadius = BounceReach::kMinBounceRadius;
// Centres closer than this (squared) count as coinciding.
constexpr float kCoincidentDistanceSquared = 0.0001f;

// Effect events last this many ticks by kind; other kinds go at the next tick.
constexpr int64_t kBeamTicks = 30;
constexpr int64_t kLightningTicks = 15;
constexpr int64_t kBigEffectTicks = 60;
// A queued sound is kept for the renderer this many ticks.
constexpr int64_t kSoundEventTicks = 30;

glm::quat TurnAbout(const glm::vec3& axis, float angle)
{
    return glm::angleAxis(angle, axis);
}

// Spherical blend along the shorter arc; a zero result becomes the identity.
glm::quat BlendToward(const glm::quat& from, glm::quat to, float share)
{
    float cosine = glm::dot(from, to);
    if (cosine < 0.0f) {
        to = -to;
        cosine = -cosine;
    }
    glm::quat blended;
    if (cosine > kSlerpLinearCosine) {
        blended = from * (1.0f - share) + to * share;
    } else {
        const float angle = std::acos(std::min(cosine, 1.0f));
        const float sine = std::sin(angle);
        blended = (from * std::sin((1.0f - share) * angle) + to * std::sin(share * angle)) / sine;
    }
    const float length = glm::length(blended);
    if (!(length > 0.0f))
        return glm::quat(1.0f, 0.0f, 0.0f, 0.0f);
    return blended / length;
}

void AssertPositionIsNumber(const SpaceObject* object)
{
    QEL_ASSERT(!std::isnan(object->pos.x), "!isnan(so->pos.x)");
}

// Adds the step unless that would leave the range of floats: an object that a
// message or a script put at the edge of the numbers, or gave a speed near
// the largest float, stops there instead of turning into infinities, whose
// differences are NaNs that stop the program.
void MoveWithinFloats(glm::vec3& point, const glm::vec3& step)
{
    const glm::vec3 moved = point + step;
    if (AllFinite(moved))
        point = moved;
}

int64_t EffectLifetime(const std::string& kind)
{
    if (kind == "beam")
        return kBeamTicks;
    if (kind == "lightning")
        return kLightningTicks;
    if (kind == "emp" || kind == "nuke" || kind == "npc_death")
        return kBigEffectTicks;
    return 0;
}

}  // namespace

void Simulation::FrameUpdate()
{
    if (paused || !container)
        return;
    clearedPendingObjects.clear();
    AdmitPendingObjects();
    container->ReinsertMoved();
    if (serverFlag && slowPassTimer.IsExpired()) {
        slowPassTimer.tick = clock.time_tick_counter + kSlowPassTicks;
        slowPassTimer.generation = clock.generation;
        RunSlowPass();
    }
    lastFrameTick = clock.time_tick_counter;
}

void Simulation::AdmitPendingObjects()
{
    std::vector<std::unique_ptr<SpaceObject>> admitted;
    admitted.swap(pendingNewObjects);
    for (auto& object : admitted) {
        // Pending objects outlive a Reset, whose id counter starts again: one
        // whose id the new run has issued meanwhile is dropped rather than
        // registered twice.
        if (container->Find(object->uniqueID) || container->FindInStandby(object->uniqueID))
            continue;
        container->Add(object.release());
    }
}

// Lets "exciting" fade, then gives every moving object its slow tick.
void Simulation::RunSlowPass()
{
    const uint64_t excitingKey = HashMessageName("exciting");
    container->ForEachObject([&](SuperContainerObject* base) {
        auto* object = static_cast<SpaceObject*>(base);
        if (ObjectDataBlobElement* exciting = object->data_set.FindElement(excitingKey, 0);
            exciting && exciting->floatValue > 0.0f) {
            exciting->StoreFloat(std::min(kExcitingMax, std::max(0.0f, exciting->floatValue - kExcitingFade)),
                                 TickCount());
        }
        if (!object->IsStatic())
            CallBehaviourHook(*this, object, kBehaviourSlowTick, nullptr);
    });
}

void Simulation::Tick()
{
    if (paused || !container)
        return;
    clearedPendingObjects.clear();
    const uint64_t run = runCount;
    SetTickCounter(clock.time_tick_counter + 1);
    // The bounce reach is measured afresh by the tick's first bounce and then
    // follows each object as it moves and runs its behaviour.
    bounceReach.MarkStale();
    bounceReachFollowsTick = true;
    container->ForEachObject([&](SuperContainerObject* base) {
        auto* object = static_cast<SpaceObject*>(base);
        if (object->IsStatic()) {
            SpinStaticObject(object);
            return;
        }
        MoveSpaceObject(object);
        CallBehaviourHook(*this, object, kBehaviourTick, nullptr);
        if (runCount == run)
            bounceReach.Include(*object);
    });
    bounceReachFollowsTick = false;
    if (runCount != run)
        return;
    UpdateTractorConnections();
    interiors->MoveGridObjects();
    if (runCount != run)
        return;
    DropExpiredEffectEvents();
    if (!UpdateBlasts())
        return;
    DropExpiredTimedEntries();
    DropOldSoundEvents();
}

void Simulation::SpinStaticObject(SpaceObject* object)
{
    object->rot_quat = TurnAbout(kAxisY, object->steer_yaw) * object->rot_quat * TurnAbout(kAxisZ, object->steer_roll)
                       * TurnAbout(kAxisX, object->steer_pitch);
}

void Simulation::MoveSpaceObject(SpaceObject* object)
{
    AssertPositionIsNumber(object);
    if (serverFlag)
        SteerOnServer(object);
    else
        DeadReckonOnClient(object);
    MoveWithinFloats(object->pos, SafeNormalize(object->rot_quat * kAxisZ) * object->cur_speed);
    AssertPositionIsNumber(object);
    FollowFatBox(object);
    AssertPositionIsNumber(object);
    if (object->exclusion_radius > kMinBounceRadius)
        HandleSOBounce(object);
    AssertPositionIsNumber(object);
}

// One-tick turns are used up; continuing turns stay. The yaw turns about the
// world's up axis unless the object steers about its own axes.
void Simulation::SteerOnServer(SpaceObject* object)
{
    const glm::quat yaw = TurnAbout(kAxisY, object->turn_yaw + object->steer_yaw);
    const glm::quat roll = TurnAbout(kAxisZ, object->turn_roll + object->steer_roll);
    const glm::quat pitch = TurnAbout(kAxisX, object->turn_pitch + object->steer_pitch);
    if (object->local_steering_flag)
        object->rot_quat = object->rot_quat * yaw * roll * pitch;
    else
        object->rot_quat = yaw * object->rot_quat * roll * pitch;
    object->turn_yaw = object->turn_pitch = object->turn_roll = 0.0f;
    object->lastUpdateTick = clock.time_tick_counter;
}

// A client's copy carries the server's last state forward and eases toward it,
// so updates that arrive now and then still draw as smooth motion.
void Simulation::DeadReckonOnClient(SpaceObject* object)
{
    const glm::vec3 heading = SafeNormalize(object->targetOrientation * kAxisZ);
    MoveWithinFloats(object->targetPos, heading * object->cur_speed);
    object->rot_quat = BlendToward(object->rot_quat, object->targetOrientation, kClientTurnBlend);
    const glm::vec3 offset = object->targetPos - object->pos;
    const glm::vec3 blended =
        (object->pos * kClientPositionWeight + object->targetPos) / (kClientPositionWeight + 1.0f);
    // A far target (the difference overflows to infinity, which counts as
    // far) is taken at once, and so is one the weighted mean overflows on.
    if (glm::dot(offset, offset) > kClientSnapDistanceSquared || !AllFinite(blended))
        object->pos = object->targetPos;
    else
        object->pos = blended;
}

void Simulation::FollowFatBox(SpaceObject* object)
{
    if (object->fatBox.Contains(object->pos.x, object->pos.z))
        return;
    object->SetFatBox(object->fat_radius);
    if (SuperContainer* holder = object->Container())
        holder->QueueReinsert(object);
}

// Nothing here calls into game code, so the query's results stay valid
// throughout. Moved objects keep their boxes until their next move.
//
// The search reaches only as far as a partner can be (BounceReach); each time
// the object is pushed it reaches further, and the walk goes on from the same
// partner in the wider answer, which holds the narrower one in the same order.
void Simulation::HandleSOBounce(SpaceObject* object)
{
    SuperContainer* holder = object->Container();
    if (!holder)
        return;
    if (!bounceReachFollowsTick || bounceReach.IsStale())
        bounceReach.Measure(*holder);
    const glm::vec3 start = object->pos;
    float halfSize = widestBounceSearch ? BounceReach::kWidestHalfSize
                                        : bounceReach.HalfSize(object->exclusion_radius, 0.0f, start.x, start.z);
    holder->Query(PlaneBox::Around(start.x, start.z, halfSize));
    const std::vector<SuperContainerObject*>& found = holder->QueryResults();
    for (size_t i = 0; i < found.size(); ++i) {
        auto* other = static_cast<SpaceObject*>(found[i]);
        if (other == object || !(other->exclusion_radius > kMinBounceRadius))
            continue;
        if (!SeparateFrom(object, other))
            continue;
        bounceReach.Include(*other);
        const float pushed = std::max(std::fabs(object->pos.x - start.x), std::fabs(object->pos.z - start.z));
        const float wider = bounceReach.HalfSize(object->exclusion_radius, pushed, start.x, start.z);
        if (wider > halfSize) {
            halfSize = wider;
            holder->Query(PlaneBox::Around(start.x, start.z, halfSize));
            i = static_cast<size_t>(std::find(found.begin(), found.end(), other) - found.begin());
            QEL_ASSERT(i < found.size(), "a wider bounce search holds every partner of the narrower one");
        }
    }
}

// The mission may have let go of its sink by the time a behaviour that held
// the relay raises the event: the event then goes nowhere, as with no mission.
void Simulation::MissionRelay::HandleEvent(const EventMessage& event)
{
    if (world.scriptEvents)
        world.scriptEvents->HandleEvent(event);
    world.bounceReach.MarkStale();
}

// A queued event reaches the mission at the server's next tick, outside the
// world's own.
void Simulation::MissionRelay::QueueEvent(const EventMessage& event)
{
    if (world.scriptEvents)
        world.scriptEvents->QueueEvent(event);
}

// Pushes the smaller (or the one that is not static) out to touching
// distance; of two equal ones the other object moves. True when either
// object moved.
bool Simulation::SeparateFrom(SpaceObject* a, SpaceObject* b)
{
    bool moved = false;
    glm::vec3 diff = a->pos - b->pos;
    float distanceSquared = glm::dot(diff, diff);
    if (distanceSquared < kCoincidentDistanceSquared) {
        b->pos = JitterPosition(a->pos);
        moved = true;
        diff = a->pos - b->pos;
        distanceSquared = glm::dot(diff, diff);
    }
    QEL_ASSERT(!std::isnan(diff.x), "!isnan(diff.x)");
    const float contact = a->exclusion_radius + b->exclusion_radius;
    if (!(distanceSquared < contact * contact))
        return moved;
    const glm::vec3 normal = SafeNormalize(diff);
    if (a->exclusion_radius < b->exclusion_radius || b->IsStatic())
        a->pos = b->pos + normal * contact;
    else
        b->pos = a->pos - normal * contact;
    QEL_ASSERT(!std::isnan(a->pos.x) && !std::isnan(b->pos.x), "HandleSOBounce element position isnan.");
    auto noteContact = [](SpaceObject* self, uint64_t otherId) {
        if (!self->IsStatic() && (self->contactList.empty() || self->contactList.back() != otherId))
            self->contactList.push_back(otherId);
    };
    noteContact(a, b->uniqueID);
    noteContact(b, a->uniqueID);
    return true;
}

void Simulation::AddEffectEvent(const std::string& kind, const std::string& secondText, const std::string& thirdText,
                                uint64_t firstId, uint64_t secondId, const glm::vec3& firstPoint,
                                const glm::vec3& secondPoint, int32_t value)
{
    const int64_t now = clock.time_tick_counter;
    const int64_t lifetime = EffectLifetime(kind);
    effectEvents.push_back({kind, secondText, thirdText, value, firstId, secondId, firstPoint, secondPoint, now,
                            lifetime > 0 ? now + lifetime : 0});
    if (IsBoltEffect(kind))
        SoundBoltHit(*this, effectEvents.back());
}

void Simulation::DropExpiredEffectEvents()
{
    const int64_t now = clock.time_tick_counter;
    std::erase_if(effectEvents, [now](const EffectEventRecord& e) { return e.expiryTick <= now; });
}

void Simulation::DropExpiredTimedEntries()
{
    const int64_t now = clock.time_tick_counter;
    std::erase_if(timedEntries, [now](const TimedEntry& e) { return now - e.startTick >= e.duration; });
}

void Simulation::DropOldSoundEvents()
{
    const int64_t now = clock.time_tick_counter;
    std::erase_if(soundEvents, [now](const SoundEvent& e) { return now - e.tick > kSoundEventTicks; });
}
