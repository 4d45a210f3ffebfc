#include "game/behaviours/PlayerShipDamage.h"

#include "game/behaviours/PlayerShipKeys.h"
#include "game/world/EventMessage.h"
#include "game/world/FiniteMath.h"
#include "game/world/MusicControl.h"
#include "game/world/RandomInt.h"
#include "game/world/ScriptEventSink.h"
#include "game/world/ShipConsoleNotices.h"
#include "game/world/ShipMechanics.h"
#include "game/world/Simulation.h"
#include "game/world/SpaceObject.h"

#include <glm/gtc/quaternion.hpp>

#include <algorithm>
#include <array>
#include <cmath>

using namespace playership;

namespace {

// A hit raises the server's music to at least this tension.
constexpr float kHitMusicTension = 100.0f;
// The consoles show a hit for this many slow passes.
constexpr int32_t kHitCounterPasses = 5;
// Hull damage is heard at most once in this many ticks.
constexpr int64_t kHullSoundGap = 300;
const char* const kShieldHitSound = "SD";
const char* const kHullHitSound = "hull_damage";
// The interior takes each hit as this much damage.
constexpr float kInteriorHitAmount = 5.0f;
// A hit of more points than this raises no more interior events: far more
// than a mission can use in one tick.
constexpr int64_t kMaxInteriorHits = 200;
// Systems a hull hit on a ship without an interior picks, one after another.
constexpr int32_t kSystemPicksPerHit = 40;

// How much of a hit the facing takes at its slider's power: more power, less
// damage (1.25 at half power, 1 at normal, 0.75 at twice normal).
float ShieldPowerFactor(float power)
{
    const float factor = 1.0f - (power - 1.0f) * 0.5f;
    return power <= 1.0f ? factor : factor * 0.5f + 0.5f;
}

// The hit's source: its attacker while it is there, else where the hit says.
glm::vec3 SourceOf(const Simulation& world, const EventMessage& damage)
{
    const SpaceObject* attacker = behaviours::FindLive(world, damage.origin_id);
    return attacker ? attacker->pos : damage.source_point;
}

// True when the facing the hit struck took it.
bool ShieldTakes(SpaceObject& ship, Simulation& world, const glm::vec3& source, float amount)
{
    ObjectDataBlob& data = ship.data_set;
    const int32_t facings = shipkeys::ShieldFacingCount(data);
    const int32_t facing = ShieldFacingIndex(source, ship.pos, ship.ForwardVector(), facings);
    if (facing < 0 || ReadInt(data, kShieldsRaisedFlag) != 1 || !(ReadFloat(data, kEnergy) > 0.0f))
        return false;
    const float power = ReadFiniteFloat(data, kEngControlValue, kFirstShieldSlider + facing);
    const float shield = ReadFloat(data, kShieldVal, facing);
    if (!(power > 0.0f) || !(shield > 0.0f))
        return false;
    WriteInt(data, kShieldHitCounter, kHitCounterPasses);
    world.QueueSoundEvent(kShieldHitSound, ship.pos, 0);
    // A strong hit drives the facing below 0; nothing passes through.
    WriteFloat(data, kShieldVal, shield - ShieldPowerFactor(power) * amount, facing);
    return true;
}

// The direction of the hit in the ship's own frame, for the mission to place
// it on the interior.
glm::vec3 LocalDirectionOf(const SpaceObject& ship, const glm::vec3& source)
{
    return SafeNormalize(glm::inverse(ship.rot_quat) * SafeNormalize(source - ship.pos));
}

void HitInterior(SpaceObject& ship, Simulation& world, const EventMessage& damage, const glm::vec3& source,
                 int64_t hits)
{
    ScriptEventSink* mission = world.ScriptEvents();
    if (!mission)
        return;
    EventMessage event;
    event.tag = "player_internal_damage";
    event.origin_id = ship.uniqueID;
    event.sub_tag = damage.sub_tag;
    event.value_tag = damage.value_tag;
    event.extra_tag = ship.side;
    event.sub_float = kInteriorHitAmount;
    event.event_time = world.TickCount();
    event.source_point = LocalDirectionOf(ship, source);
    // The mission may remove the ship in any of them; the rest then go
    // unsaid.
    const uint64_t run = world.RunCount();
    for (int64_t hit = 0; hit < std::min(hits, kMaxInteriorHits); ++hit) {
        mission->HandleEvent(event);
        if (!behaviours::StillThere(world, ship, run))
            return;
    }
}

// The four systems' damage and its ceilings, worked on in place of the data
// set while a hit's picks fall and written back once.
struct SystemDamage {
    std::array<float, SHPSYS_MAX> damage;
    std::array<float, SHPSYS_MAX> ceiling;

    explicit SystemDamage(const ObjectDataBlob& data)
    {
        for (int32_t system = 0; system < SHPSYS_MAX; ++system) {
            damage[system] = ReadFloat(data, kSystemDamage, system);
            ceiling[system] = ReadFloat(data, kSystemMaxDamage, system);
        }
    }
    bool AnyRoom() const
    {
        for (int32_t system = 0; system < SHPSYS_MAX; ++system)
            if (damage[system] < ceiling[system])
                return true;
        return false;
    }
    void WriteTo(ObjectDataBlob& data) const
    {
        for (int32_t system = 0; system < SHPSYS_MAX; ++system)
            WriteFloat(data, kSystemDamage, damage[system], system);
    }
};

// Each hit makes all of its picks of a system, and every pick that finds room
// below the system's ceiling adds a point: a hit may add up to a point per
// pick. Once no system has room, later hits could change nothing.
void HitSystems(SpaceObject& ship, Simulation& world, int64_t hits)
{
    SystemDamage systems(ship.data_set);
    for (int64_t hit = 0; hit < hits && systems.AnyRoom(); ++hit) {
        for (int32_t pick = 0; pick < kSystemPicksPerHit; ++pick) {
            const int32_t system = RandomInt(world.randomState, 0, SHPSYS_MAX - 1);
            if (systems.damage[system] < systems.ceiling[system])
                systems.damage[system] += 1.0f;
        }
    }
    systems.WriteTo(ship.data_set);
}

void HullTakes(SpaceObject& ship, Simulation& world, const EventMessage& damage, const glm::vec3& source,
               float amount)
{
    world.QueueSoundEvent(kHullHitSound, ship.pos, kHullSoundGap);
    WriteInt(ship.data_set, kHullHitCounter, kHitCounterPasses);
    const int64_t hits = behaviours::SplitIntoSystemPoints(ship.data_set, amount);
    if (world.GetHullMap(ship, false))
        HitInterior(ship, world, damage, source, hits);
    else
        HitSystems(ship, world, hits);
}

}  // namespace

void PlayerShipTakeDamage(SpaceObject& ship, Simulation& world, const EventMessage& damage)
{
    // Damage that is no positive number does nothing.
    const float amount = damage.sub_float > 0.0f && std::isfinite(damage.sub_float) ? damage.sub_float : 0.0f;
    if (amount == 0.0f)
        return;
    if (gMusicControl)
        gMusicControl->RaiseMusicTension(kHitMusicTension);
    if (ShipConsoleNotices* consoles = world.ShipConsoles())
        consoles->DamageFlash(ship.uniqueID, amount);
    const glm::vec3 source = SourceOf(world, damage);
    if (!ShieldTakes(ship, world, source, amount))
        HullTakes(ship, world, damage, source, amount);
}
