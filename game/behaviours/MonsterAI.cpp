#include "game/behaviours/MonsterAI.h"

#include "game/behaviours/MonsterKeys.h"
#include "game/behaviours/NPCShipKeys.h"
#include "game/world/BehaviourHookMap.h"
#include "game/world/EventMessage.h"
#include "game/world/FiniteMath.h"
#include "game/world/Simulation.h"
#include "game/world/SpaceObject.h"
#include "helper/ColorParse.h"
#include "helper/QelAssert.h"

#include <glm/geometric.hpp>
#include <glm/gtc/quaternion.hpp>
#include <glm/vec4.hpp>

#include <algorithm>
#include <cmath>

using namespace behaviours;
using namespace monster;

namespace {

const char* const kDefaultName = "Monster";
const char* const kDefaultBodyMesh = "monster_part";
const char* const kNoTexture = "---";
const char* const kWhite = "white";
constexpr int32_t kDefaultLightningRange = 1500;
constexpr int32_t kDefaultLightningDamage = 30;
const char* const kDefaultLightningColor = "red";
constexpr int32_t kDefaultLightningSeconds = 5;
constexpr int32_t kDefaultHealth = 1000;
constexpr float kDefaultHealRate = 100.0f;
constexpr float kDefaultSpeed = 9.0f;

// It stops this many exclusion radii from its ordered point.
constexpr float kArrivalRadii = 2.0f;
// Healing comes at most this often.
constexpr int32_t kHealSeconds = 2;

const MineBursts kMonsterMineBursts{
    "color:#FFF; lifespan:10,30; image_cell:8; size:5;speed: 10; count:1000",
    "color:#F01,#0F1; lifespan:10,30; image_cell:9; size:25;speed: 2,8; count:1000",
    "smoke:True;  color:#999; lifespan:3,90; image_cell:4; size:10;speed:0,1.5; count:1000",
};
const char* const kDeathBursts[] = {
    "color:#0FF, #00F; lifespan : 30; shape: ring_y; image_cell : 9; size : 50; speed : 10; count: 1000",
    "color:#F01, #0F1; lifespan : 30; image_cell : 9; size : 20; speed : 5; count: 1000",
    "color:#888,#FFF; lifespan : 30,130; image_cell : 9; size : 100; speed : 1,2; count: 1000",
};
constexpr int32_t kDeadState = 4;

void Setup(SpaceObject& monster, const Simulation& world)
{
    ObjectDataBlob& blob = monster.data_set;
    DeclareString(blob, kShownNameTag, kDefaultName);
    DeclareString(blob, kBody1Geom, kDefaultBodyMesh);
    DeclareString(blob, kBody1Bitmap, kNoTexture);
    DeclareString(blob, kBody1Color, kWhite);
    DeclareFloat(blob, kBody1Size, 1.0f);
    DeclareString(blob, kBody2Geom, kDefaultBodyMesh);
    DeclareString(blob, kBody2Bitmap, kNoTexture);
    DeclareString(blob, kBody2Color, kWhite);
    DeclareFloat(blob, kBody2Size, 1.0f);
    for (const DataKey& key : {kParticleColor1, kParticleColor2, kParticleColor3})
        DeclareString(blob, key, kWhite);
    DeclareInt64(blob, kLightningTimer, world.TickCount());
    DeclareInt(blob, kLightningRange, kDefaultLightningRange);
    DeclareInt(blob, kLightningDamage, kDefaultLightningDamage);
    DeclareString(blob, kLightningColor, kDefaultLightningColor);
    DeclareInt(blob, kLightningCycleTime, kDefaultLightningSeconds);
    DeclareInt(blob, kMonsterHealth, kDefaultHealth);
    DeclareInt(blob, kMonsterHealthMax, kDefaultHealth);
    DeclareFloat(blob, kMonsterHealRate, kDefaultHealRate);
    DeclareFloat(blob, kMonsterSpeed, kDefaultSpeed);
}

// Flies straight at the ordered point, facing it at once; near it (or given
// a point that is no number) it stops and keeps its orientation.
void FlyToOrderedPoint(SpaceObject& monster)
{
    const ObjectDataBlob& blob = monster.data_set;
    const glm::vec3 ordered{ReadFloat(blob, npcship::kTargetPosX), ReadFloat(blob, npcship::kTargetPosY),
                            ReadFloat(blob, npcship::kTargetPosZ)};
    const glm::vec3 toPoint = ordered - monster.pos;
    const float distance = glm::length(toPoint);
    if (!AllFinite(toPoint) || !(distance >= kArrivalRadii * monster.exclusion_radius) || distance == 0.0f) {
        monster.cur_speed = 0.0f;
        return;
    }
    const float speed = ReadFiniteFloat(blob, kMonsterSpeed);
    monster.cur_speed = speed;
    // The pitch settles on the point's elevation over successive ticks: it
    // is measured against the nose's horizontal reach before this turn.
    const glm::vec3 nose = monster.ForwardVector();
    const glm::vec3 w = toPoint / distance;
    const float yaw = std::atan2(w.x, w.z);
    const float pitch = -std::atan2(w.y, std::sqrt(nose.x * nose.x + nose.z * nose.z));
    monster.rot_quat = glm::quat(glm::vec3(pitch, yaw, 0.0f));
}

// Strikes the target with lightning when the strike is ready and the target
// is alive, visible and within reach; any direction will do.
void StrikeWithLightning(SpaceObject& monster, Simulation& world)
{
    ObjectDataBlob& blob = monster.data_set;
    if (!DeadlinePassed(blob, kLightningTimer, world))
        return;
    SpaceObject* target = FindLive(world, ReadUInt64(blob, kTargetId));
    if (!target || target->data_tag == kInvisibleTag || ReadInt(target->data_set, kDeathTick) != 0)
        return;
    const glm::vec3 offset = target->pos - monster.pos;
    const auto range = static_cast<double>(ReadFiniteFloat(blob, kLightningRange));
    if (!(double(glm::dot(offset, offset)) <= range * range))
        return;
    glm::vec4 colour;
    ParseColor(colour, ReadString(blob, kLightningColor));
    WriteInt64(blob, kLightningTimer, DeadlineAfterSeconds(ReadFiniteFloat(blob, kLightningCycleTime)));
    StrikeTarget(world, monster, *target,
                 {"lightning", glm::vec3(colour), glm::vec3(0.0f), 0, ReadFiniteFloat(blob, kLightningDamage)});
}

void Tick(SpaceObject& monster, Simulation& world)
{
    FlyToOrderedPoint(monster);
    if (world.serverFlag)
        StrikeWithLightning(monster, world);
}

void Heal(SpaceObject& monster, const Simulation& world)
{
    ObjectDataBlob& blob = monster.data_set;
    if (!DeadlinePassed(blob, kHealTimer, world))
        return;
    const float healed = ReadFiniteFloat(blob, kMonsterHealth) + ReadFiniteFloat(blob, kMonsterHealRate);
    WriteFloat(blob, kMonsterHealth, std::clamp(healed, 0.0f, std::max(0.0f, ReadFiniteFloat(blob, kMonsterHealthMax))));
    WriteInt64(blob, kHealTimer, DeadlineAfterSeconds(static_cast<float>(kHealSeconds)));
}

// Whole points only: a blow of 0.9 does nothing. The killing blow queues
// the monster's removal at once.
void TakeDamage(SpaceObject& monster, Simulation& world, const EventMessage& damage)
{
    ObjectDataBlob& blob = monster.data_set;
    if (ReadInt(blob, kDeathTick) != 0)
        return;
    // Damage that is no positive number does nothing (it never heals).
    const float amount = damage.sub_float > 0.0f && std::isfinite(damage.sub_float) ? std::trunc(damage.sub_float)
                                                                                      : 0.0f;
    const float health = ReadFiniteFloat(blob, kMonsterHealth) - amount;
    WriteFloat(blob, kMonsterHealth, health);
    if (health > 0.0f)
        return;
    WriteInt64(blob, kDeathTick, DeathTickOf(world.TickCount()));
    QueueDestroy(world, monster.uniqueID);
    WriteInt(blob, kDeathState, kDeadState);
    for (const char* burst : kDeathBursts)
        Burst(world, monster.pos, burst);
}

}  // namespace

void MonsterAI(Simulation& world, SpaceObject* monster, int32_t message, void* data)
{
    switch (message) {
    case kBehaviourAssigned:
        Setup(*monster, world);
        break;
    case kBehaviourTick:
        Tick(*monster, world);
        break;
    case kBehaviourSlowTick:
        Heal(*monster, world);
        SetOffNearbyMines(*monster, world, kMonsterMineBursts);
        break;
    case kBehaviourDamage:
        QEL_ASSERT(data, "tdrPtr");
        if (world.serverFlag)
            TakeDamage(*monster, world, *static_cast<const EventMessage*>(data));
        break;
    default:
        break;
    }
}
