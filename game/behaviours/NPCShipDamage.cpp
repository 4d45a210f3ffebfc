#include "game/behaviours/NPCShipDamage.h"

#include "game/behaviours/NPCShipKeys.h"
#include "game/world/EventMessage.h"
#include "game/world/ScriptEventSink.h"
#include "game/world/ShipMechanics.h"
#include "game/world/Simulation.h"
#include "game/world/SpaceObject.h"
#include "game/world/WorldEnums.h"

#include <algorithm>
#include <cmath>

using namespace npcship;

namespace {

// A system may be damaged to twice its maximum.
constexpr float kMaxOverDamage = 2.0f;

const char* const kDeathBursts[] = {
    "color:#FFF; lifespan:10,30; image_cell:8; size:16;speed: 10; count:300",
    "color:#F01,#0F1; lifespan:10,30; image_cell:9; size:65;speed: 2,8; count:300",
    "smoke:True;  color:#999; lifespan:30,90; image_cell:4; size:20,30;speed:0,1.5; count:300",
    "shape:ring_y;color:#00F; lifespan:10,30; image_cell:8; size:16;speed: 10; count:300; delay:45",
};

float AbsorbByShield(SpaceObject& ship, float amount, const glm::vec3& hitPoint)
{
    ObjectDataBlob& blob = ship.data_set;
    const int32_t facings = shipkeys::ShieldFacingCount(blob);
    if (facings <= 0 || ReadInt(blob, kShieldsRaisedFlag) == 0)
        return amount;
    const int32_t facing = ShieldFacingIndex(hitPoint, ship.pos, ship.ForwardVector(), facings);
    if (facing < 0)
        return amount;
    const float shield = ReadFloat(blob, kShieldVal, facing);
    if (!(shield > 0.0f))
        return amount;
    const float absorbed = std::min(shield, amount);
    WriteFloat(blob, kShieldVal, shield - absorbed, facing);
    return amount - absorbed;
}

void Die(SpaceObject& ship, Simulation& world, const EventMessage& damage)
{
    const int64_t now = world.TickCount();
    WriteInt64(ship.data_set, kDeathTick, behaviours::DeathTickOf(now));
    world.SendEffect("npc_death", ReadString(ship.data_set, kNameTag), ship.side, ship.uniqueID, 0, behaviours::kDeathEffectColour,
                     ship.pos, 0);
    if (ScriptEventSink* script = world.ScriptEvents()) {
        EventMessage event;
        event.tag = "npc_killed";
        event.origin_id = damage.origin_id;
        event.parent_id = damage.parent_id;
        event.selected_id = ship.uniqueID;
        event.sub_tag = damage.extra_tag;
        event.event_time = now;
        event.source_point = ship.pos;
        script->HandleEvent(event);
    }
}

}  // namespace

float NPCShipSystemHealth(const SpaceObject& ship, int32_t system)
{
    const float maximum = ReadFloat(ship.data_set, kSystemMaxDamage, system);
    const float health = maximum > 0.0f ? 1.0f - ReadFloat(ship.data_set, kSystemDamage, system) / maximum : 1.0f;
    return std::isfinite(health) ? health : 0.0f;
}

void NPCShipTakeDamage(SpaceObject& ship, Simulation& world, const EventMessage& damage)
{
    ObjectDataBlob& blob = ship.data_set;
    if (ReadInt(blob, kDeathTick) != 0)
        return;
    // Damage that is no positive number does nothing.
    const float amount = damage.sub_float > 0.0f && std::isfinite(damage.sub_float) ? damage.sub_float : 0.0f;
    const float through = AbsorbByShield(ship, amount, damage.source_point);
    const int64_t points = std::min(behaviours::SplitIntoSystemPoints(blob, through),
                                    behaviours::PlaceableSystemPoints(blob));
    for (int64_t point = 0; point < points; ++point) {
        if (!behaviours::DamageRandomSystem(blob, world)) {
            Die(ship, world, damage);
            return;
        }
        SetRandomShieldWave(ship);
    }
}

void NPCShipBurst(SpaceObject& ship, Simulation& world)
{
    for (const char* burst : kDeathBursts)
        behaviours::Burst(world, ship.pos, burst);
    behaviours::QueueDestroy(world, ship.uniqueID);
}

void NPCShipRepair(SpaceObject& ship, const Simulation& world)
{
    ObjectDataBlob& blob = ship.data_set;
    const int64_t now = world.TickCount();
    if (!behaviours::DeadlinePassed(blob, kHealTimer, world))
        return;
    behaviours::RepairShieldFacings(blob);
    const float systemRate = ReadFiniteFloat(blob, kRepairRateSystems);
    for (int32_t system = 0; system < SHPSYS_MAX; ++system) {
        const float damage = ReadFloat(blob, kSystemDamage, system);
        if (damage > 0.0f) {
            const float ceiling = kMaxOverDamage * ReadFloat(blob, kSystemMaxDamage, system);
            WriteFloat(blob, kSystemDamage, std::min(ceiling, std::max(0.0f, damage - systemRate)), system);
        }
    }
    WriteInt64(blob, kHealTimer, now + behaviours::kRepairTicks);
}
