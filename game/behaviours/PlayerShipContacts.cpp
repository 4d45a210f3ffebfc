#include "game/behaviours/PlayerShipContacts.h"

#include "game/behaviours/PlayerShipKeys.h"
#include "game/world/EventMessage.h"
#include "game/world/ObjectId.h"
#include "game/world/ScriptEventSink.h"
#include "game/world/ShipConsoleNotices.h"
#include "game/world/Simulation.h"
#include "game/world/SpaceObject.h"

#include <glm/geometric.hpp>

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

using behaviours::FindLive;
using behaviours::kInvisibleTag;
using shipkeys::kNameTag;
using shipkeys::kParentUid;

namespace {

// A contact lasts this many ticks after the last touch.
constexpr int32_t kContactTicks = 10;
// The jolt the consoles feel on a new contact: twice the ship's speed, at
// most this much.
constexpr float kMaxContactJolt = 10.0f;
// Objects that may hold the ship within their interaction radius are looked
// for this far around it on X and Z.
constexpr float kProximityHalfSize = 5000.0f;

bool IsVisible(const SpaceObject& object)
{
    return object.data_tag != kInvisibleTag;
}

// An event about the other object and the ship, filled from the other while
// it exists.
EventMessage EventWith(const SpaceObject& ship, const SpaceObject* other, const Simulation& world)
{
    EventMessage event;
    event.selected_id = ship.uniqueID;
    event.extra_tag = ship.side;
    event.event_time = world.TickCount();
    if (other) {
        event.origin_id = other->uniqueID;
        const uint64_t parent = ReadUInt64(other->data_set, kParentUid);
        event.parent_id = VALID_SPACE_OBJ(parent) ? parent : 0;
        event.sub_tag = ReadString(other->data_set, kNameTag);
        event.value_tag = other->side;
        event.source_point = other->pos;
    }
    return event;
}

// A static object (a station, an asteroid) is touched passively.
void RaiseCollision(const SpaceObject& ship, Simulation& world, uint64_t otherId, bool start)
{
    ScriptEventSink* mission = world.ScriptEvents();
    if (!mission)
        return;
    const SpaceObject* other = FindLive(world, otherId);
    EventMessage event = EventWith(ship, other, world);
    const char* kind = other && other->IsStatic() ? "passive" : "interactive";
    event.tag = std::string(kind) + (start ? "_collision_start" : "_collision_end");
    mission->HandleEvent(event);
}

}  // namespace

void PlayerShipContactsTick(SpaceObject& ship, Simulation& world)
{
    const std::vector<uint64_t> touched = std::exchange(ship.contactList, {});
    const uint64_t run = world.RunCount();
    for (uint64_t id : touched) {
        const SpaceObject* other = FindLive(world, id);
        if (!other || !IsVisible(*other))
            continue;
        if (ship.contactCountdowns[id] == 0) {
            RaiseCollision(ship, world, id, true);
            if (!behaviours::StillThere(world, ship, run))
                return;
            if (ShipConsoleNotices* consoles = world.ShipConsoles())
                consoles->DamageFlash(ship.uniqueID, std::clamp(2.0f * ship.cur_speed, 0.0f, kMaxContactJolt));
        }
        ship.contactCountdowns[id] = kContactTicks;
    }
}

void AgePlayerShipContacts(SpaceObject& ship, Simulation& world)
{
    // The count goes down first and the ends follow, so the mission's
    // handlers never see the map half walked.
    std::vector<uint64_t> ended;
    for (auto contact = ship.contactCountdowns.begin(); contact != ship.contactCountdowns.end();) {
        if (contact->second == 1)
            ended.push_back(contact->first);
        if (--contact->second <= 0)
            contact = ship.contactCountdowns.erase(contact);
        else
            ++contact;
    }
    const uint64_t run = world.RunCount();
    for (uint64_t id : ended) {
        RaiseCollision(ship, world, id, false);
        if (!behaviours::StillThere(world, ship, run))
            return;
    }
}

void RaiseWithinRangeEvents(SpaceObject& ship, Simulation& world)
{
    if (!world.ScriptEvents())
        return;
    std::vector<uint64_t> near;
    for (const SpaceObject* other : behaviours::Neighbours(world, ship.pos, kProximityHalfSize)) {
        const float reach = ship.exclusion_radius + other->interaction_radius;
        const glm::vec3 offset = other->pos - ship.pos;
        if (other != &ship && other->interaction_radius > 0.0f && IsVisible(*other)
            && glm::dot(offset, offset) < reach * reach)
            near.push_back(other->uniqueID);
    }
    // The mission may change the world in each event: the ship and every
    // object are looked up again.
    const uint64_t run = world.RunCount();
    for (uint64_t id : near) {
        const SpaceObject* other = FindLive(world, id);
        if (!other)
            continue;
        EventMessage event = EventWith(ship, other, world);
        event.tag = "within_range";
        world.ScriptEvents()->HandleEvent(event);
        if (!behaviours::StillThere(world, ship, run))
            return;
    }
}
