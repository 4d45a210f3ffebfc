#pragma once
// What the computer-controlled behaviours (drones, missiles, computer ships,
// stations, the monster) share: finding live objects by id, steering toward
// a point, camera interest, gravity wells, mines going off and drone launches.

#include "game/world/DataKey.h"

#include <glm/vec3.hpp>

#include <cstdint>
#include <string>
#include <vector>

class ObjectDataBlob;
class Simulation;
class SpaceObject;
struct ShipBeamPort;
struct ShipDataRecord;

namespace behaviours {

// Keys the homing and gravity steps of several behaviours share.
inline constexpr DataKey kLifeCount{"lifecount", kPlayDoc};
inline constexpr DataKey kDeathTick{"deathTick",
    "tick on which death was started.  if not zero, this unit is in the process of exploding and dying"};
inline constexpr DataKey kDeathState{"deathState", "current state of exploding and dying"};
inline constexpr DataKey kHealTimer{"healTimer", "timer used for hull and shield repair in ships"};
inline constexpr DataKey kPullStrength{"pull_strength", kPlayDoc};
inline constexpr DataKey kTurbulenceLevel{"turbulence_level", kPlayDoc};
inline constexpr DataKey kPullVectorX{"pull_vector_x", kPlayDoc};
inline constexpr DataKey kPullVectorY{"pull_vector_y", kPlayDoc};
inline constexpr DataKey kPullVectorZ{"pull_vector_z", kPlayDoc};
inline constexpr DataKey kGravityRadius{"gravity_radius", kPlayDoc};
inline constexpr DataKey kGravityStrength{"gravity_strength", kPlayDoc};
inline constexpr DataKey kTurbulenceStrength{"turbulence_strength", kPlayDoc};
inline constexpr DataKey kDamageDone{"damage_done", kPlayDoc};
inline constexpr DataKey kBlastRadius{"blast_radius", kPlayDoc};
inline constexpr DataKey kTargetId{"target_id",
    "unique_ID of the space object the npc ship is supposed to shoot at"};
inline constexpr DataKey kCollisionDamage{"collision_damage", kPlayDoc};
// What a ship's last hits left over short of a whole system point (0..1).
inline constexpr DataKey kFractionalDamage{"fractional_damage", kPlayDoc};
// A hit on a ship's systems is one point per this much damage.
inline constexpr float kDamagePerSystemPoint = 5.0f;
// The name stations and the monster show on the radar.
inline constexpr DataKey kShownNameTag{"name_tag", "name of object, showing up on radar / 2d view"};

// The "deathTick" of a death at the tick: 0 means alive, so a death at the
// world's first tick is recorded as tick 1.
inline int64_t DeathTickOf(int64_t now)
{
    return now > 0 ? now : 1;
}

// Ships and stations repair at most once in this many ticks.
inline constexpr int64_t kRepairTicks = 60;
// The colour of the "npc_death" effect of a ship or a station.
inline constexpr glm::vec3 kDeathEffectColour{1.0f, 0.0f, 0.4f};

// Half-size of the square around an object that homing, mines and gravity
// wells look through.
inline constexpr float kNeighbourhood = 3000.0f;
// A mine goes off when a ship, station or monster comes closer than this.
inline constexpr float kMineTriggerDistance = 500.0f;
// Behaviour names the free-flight pulls pass over.
inline constexpr const char* kDroneBehaviour = "behav_drone";
inline constexpr const char* kMissileBehaviour = "behav_missile";
inline constexpr const char* kMineBehaviour = "behav_mine";
inline constexpr const char* kPickupBehaviour = "behav_pickup";
// Behaviour names of objects with no behaviour of their own, which the views
// draw and the ships' sensors treat by the name.
inline constexpr const char* kAsteroidBehaviour = "behav_asteroid";
inline constexpr const char* kNebulaBehaviour = "behav_nebula";
inline constexpr const char* kSelectionBehaviour = "behav_selection";
inline constexpr const char* kInvisibleTag = "invisible";

// Tick timers kept in keyed values: the tick at which the next shot or
// launch is allowed. A deadline of 0, or one the world's tick has reached,
// has expired.
bool DeadlinePassed(const ObjectDataBlob& blob, const DataKey& key, const Simulation& world, int32_t index = 0);
// The deadline of a timer set that many seconds from now, cut to whole
// seconds; a script's huge or negative interval is held to a day or to now.
int64_t DeadlineAfterSeconds(float seconds);

// The hull record of the object's data tag (the "unknown" record for a tag
// the ship list lacks; an empty record when it lacks even that).
const ShipDataRecord& HullRecordOf(const SpaceObject& object);

// The live object of the id, or null: ids read from keyed values may be
// anything a script wrote, so one that names no space object finds nothing.
SpaceObject* FindLive(const Simulation& world, uint64_t id);

// The objects whose boxes meet the square of the half-size around the point
// (the neighbourhood unless given), in query order. Pointers stay valid until
// game code runs.
std::vector<SpaceObject*> Neighbours(const Simulation& world, const glm::vec3& point,
                                     float halfSize = kNeighbourhood);

// The object and its world are still the ones of the run: game code run
// meanwhile (damage handlers, the mission) may have removed either.
bool StillThere(const Simulation& world, const SpaceObject& object, uint64_t run);

// Raises the object's "exciting" to at least the value.
void RaiseExciting(SpaceObject& object, float value);

// A beam port of the hull record, as the indexed beam keys of a ship that
// carries it: range, arc, damage, cycle time, barrel angle, colour and place
// on the hull.
void DeclareBeamPort(ObjectDataBlob& blob, const ShipBeamPort& port, int32_t beam);
// The beam's place on the hull and its colour, from its keys.
glm::vec3 BeamHullPoint(const ObjectDataBlob& blob, int32_t beam);
glm::vec3 BeamColour(const ObjectDataBlob& blob, int32_t beam);
// Whether the beam's arc holds the offset (target less ship): the arc is
// centred on the barrel angle, or, from a barrel angle of 1000 on, on the
// line from the ship's centre through the beam's hull point.
bool BeamArcHolds(const SpaceObject& ship, int32_t beam, const glm::vec3& offset);

// Sets the one-tick yaw and pitch that turn the nose toward the point by at
// most the limit each. A point at the object's own place (or not finite)
// leaves the turns alone.
void SteerToward(SpaceObject& object, const glm::vec3& nose, const glm::vec3& point, float limit);

// The pull of the last gravity well found: moves the object along it and
// shakes its orientation by the turbulence. Nothing when the pull is 0.
void ApplyGravityPull(SpaceObject& object);

// Records the well's pull when the well is static and the object lies
// within its gravity radius.
void TakePullOfWell(SpaceObject& object, const SpaceObject& well);
// Records the pull of the wells (static objects with a gravity radius) the
// object lies within; a later well overwrites an earlier one.
void FindGravityWells(SpaceObject& object, const Simulation& world);

// Particle bursts a mine's detonation leaves; their sizes differ by who set
// it off.
struct MineBursts {
    const char* flash;
    const char* fire;
    const char* smoke;
};
// What a mine leaves when a ship or a station sets it off.
extern const MineBursts kShipMineBursts;
// Sets off every visible mine closer than the trigger distance to the object:
// a "nuke" blast named by the object's "name_tag" and its effect.
void SetOffNearbyMines(SpaceObject& object, Simulation& world, const MineBursts& bursts,
                       float triggerDistance = kMineTriggerDistance);
// SetOffNearbyMines at the usual trigger distance, then FindGravityWells, as
// a ship's slow pass does both, from one search of the neighbourhood.
void SetOffMinesAndFindWells(SpaceObject& object, Simulation& world, const MineBursts& bursts);

// Whole system points a hit of the amount makes: one per
// kDamagePerSystemPoint, the remainder carried in "fractional_damage" until
// it makes another. Amounts that are no positive number make none.
int64_t SplitIntoSystemPoints(ObjectDataBlob& blob, float amount);
// Points that could still be placed on the ship's systems, plus the one that
// fails: more are never tried, so a huge hit costs no more than the ship can
// take.
int64_t PlaceableSystemPoints(const ObjectDataBlob& blob);
// One point of "system_damage" on a system drawn from the world's generator
// that has room below its "system_max_damage"; false when 40 draws in a row
// found only full ones.
bool DamageRandomSystem(ObjectDataBlob& blob, Simulation& world);

// A beam (or lightning) that strikes: the effect every console draws, named
// by the shooter's "name_tag" and side, then the damage to the target as the
// shooter's "beam", its parent the shooter's "parentUID".
struct BeamStrike {
    const char* kind;
    glm::vec3 colour;
    glm::vec3 secondPoint;
    int32_t port;
    float amount;
};
void StrikeTarget(Simulation& world, SpaceObject& shooter, SpaceObject& target, const BeamStrike& strike);

// The hull record's shields, raised and whole, with the default repair
// rates of shields and systems.
void DeclareHullShields(ObjectDataBlob& blob, const ShipDataRecord& record);

// Each shield facing below its maximum mends by the repair rate times its
// own coefficient, never above the maximum nor below its negation.
void RepairShieldFacings(ObjectDataBlob& blob);

// Launches a drone from the launcher at the target, and tells the mission
// with the event type. The drone joins the world at the next frame step.
void LaunchDrone(Simulation& world, SpaceObject& launcher, uint64_t targetId, const std::string& eventType);

// The object is going to the server's destroy queue (when there is one).
void QueueDestroy(Simulation& world, uint64_t id);
void Burst(Simulation& world, const glm::vec3& point, const char* descriptor);

}  // namespace behaviours
