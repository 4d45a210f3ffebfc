#include "game/behaviours/MissileAI.h"

#include "game/behaviours/BehaviourSupport.h"
#include "game/guimodel/KeyValueParser.h"
#include "game/world/BehaviourHookMap.h"
#include "game/world/ObjectId.h"
#include "game/world/ShipKeys.h"
#include "game/world/Simulation.h"
#include "game/world/SimulationTimer.h"
#include "game/world/SpaceObject.h"
#include "helper/ColorParse.h"
#include "helper/GeneralUtils.h"
#include "helper/QelAssert.h"

#include <glm/geometric.hpp>
#include <glm/vec4.hpp>

#include <algorithm>
#include <cmath>
#include <memory>
#include <string>

using namespace behaviours;
using namespace shipkeys;

namespace {

inline constexpr DataKey kEnergyConversionValue{"energy_conversion_value", kPlayDoc};
inline constexpr DataKey kDeathTimer{"deathTimer", kPlayDoc};
inline constexpr DataKey kExplosionSize{"explosion_size", kPlayDoc};
inline constexpr DataKey kColorExplosion{"color_explosion", kPlayDoc};
inline constexpr DataKey kWarhead{"warhead", kPlayDoc};
inline constexpr DataKey kCloaking{"cloaking", kPlayDoc};

const char* const kSetupContext = "missile-setup";

// Keyword lists are read up to this many items, stopping at the first empty one.
constexpr int32_t kMaxKeywords = 100;

const glm::vec3 kNoseOffset{0.0f, 0.0f, 10.0f};
constexpr float kTargetPull = 21.1f;
constexpr float kFreePullScale = 30000.0f;
constexpr float kStrikeRadii = 2.0f;
constexpr float kOwnInterest = 25.0f;
constexpr float kTargetInterest = 50.0f;
// Free flight weighs the pull of others by age, full from this many ticks on;
// the turn limit grows by one radian per tick every as many ticks.
constexpr float kAgeTicks = 200.0f;
constexpr float kBaseTurnLimit = 0.05f;
// A mine-laying missile lays its mine once closer than this to its landing point.
constexpr float kLayingDistance = 50.0f;
constexpr float kMineFatRadius = 400.0f;
constexpr int32_t kMineBlinkState = 10;
const char* const kMineDataTag = "danger_1a";

constexpr int64_t kImpactSoundGap = 300;
const char* const kImpactSound = "torp_impact";
const char* const kFireSuffix = ";color:#F01,#0F1";
const char* const kDamagedSparks = "lifespan:10,30; image_cell:9; size:15;speed: 0,0.5; count:1000; color:#F01,#0F1";
const char* const kDamagedSmoke =
    "smoke:True;  color:#999; lifespan:3,90; image_cell:4; size:5;speed:0,0.2; count:1000";
const char* const kExpiredBurst = "color:#F01,#0F1; lifespan:30; image_cell:9; size:20;speed: 1; count:1000";
const char* const kBlastFlash = "color:#FFF; lifespan:10,30; image_cell:8; size:5;speed: 10; count:1000";
const char* const kBlastFire = "lifespan:10,30; image_cell:9; size:25;speed: 2,8; count:1000";
const char* const kBlastSmoke =
    "smoke:True;  color:#999; lifespan:3,90; image_cell:4; size:10;speed:0,1.5; count:1000";
const char* const kImpactSparks = "lifespan:10,30; image_cell:9; size:15;speed: 0,1; count:1000";
const char* const kImpactSmoke =
    "smoke:True;  color:#999; lifespan:3,90; image_cell:4; size:5;speed:0,0.2; count:1000";
const glm::vec3 kEmpColour{0.0f, 0.4f, 1.0f};
const glm::vec3 kNukeColour{1.0f, 0.4f, 0.0f};

// ---- set-up from the definition ----

std::string Field(KeyValueParser& parser, const char* key, const char* documentation)
{
    return parser.Get(kSetupContext, key, documentation);
}

void WriteColour(ObjectDataBlob& blob, const DataKey (&keys)[3], const std::string& text)
{
    glm::vec4 colour;
    ParseColor(colour, text);
    for (int32_t channel = 0; channel < 3; ++channel)
        WriteFloat(blob, keys[channel], colour[channel]);
}

// Every item of the list entry just looked up, one per index.
void WriteList(KeyValueParser& parser, ObjectDataBlob& blob, const DataKey& key, const char* name,
               const char* documentation)
{
    Field(parser, name, documentation);
    const KeyValueParser::Entry& values = parser.CurrentValues();
    for (size_t item = 1; item < values.size() && item <= static_cast<size_t>(kMaxKeywords); ++item)
        WriteString(blob, key, values[item], static_cast<int32_t>(item - 1));
}

void Assign(SpaceObject& missile)
{
    ObjectDataBlob& blob = missile.data_set;
    KeyValueParser& parser = KeyValueParser::Global();
    parseStyleString(parser, ReadString(blob, kTorpedoDefinition));
    WriteString(blob, kNameTag, Field(parser, "gui_text", "the proper name of the torp type"));
    missile.cur_speed = static_cast<float>(LeadingInt(Field(parser, "speed", "speed of the torp type")));
    WriteColour(blob, kColorFlare, Field(parser, "flare_color", "flare_color of the torp type"));
    WriteColour(blob, kColorTrail, Field(parser, "trail_color", "trail_color of the torp type"));
    WriteInt(blob, kEnergyConversionValue,
             LeadingInt(Field(parser, "energy_conversion_value",
                              "amount of energy given when you turn this torp type into energy")));
    WriteInt(blob, kDamageDone, LeadingInt(Field(parser, "damage", "amount of damage done by this torp type")));
    simulationTimer lifetime;
    lifetime.SetSeconds(LeadingInt(Field(parser, "lifetime", "lifetime (in seconds) of the torp type")));
    WriteInt64(blob, kDeathTimer, lifetime.tick);
    WriteInt(blob, kExplosionSize, LeadingInt(Field(parser, "explosion_size", "explosion_size of the torp type")));
    WriteString(blob, kColorExplosion, Field(parser, "explosion_color", "explosion_color of the torp type"));
    WriteInt(blob, kBlastRadius, LeadingInt(Field(parser, "blast_radius", "radius of damage done by this torp type")));
    WriteList(parser, blob, kBehavior, "behavior", "behavior keywords of this torp type, seperated by commas.");
    WriteList(parser, blob, kWarhead, "warhead", "warhead keywords of this torp type, seperated by commas.");
    WriteList(parser, blob, kCloaking, "cloaking", "how this missile tracks cloaked targets; tracks or ignores");
}

// ---- flight ----

bool HasKeyword(const ObjectDataBlob& blob, const DataKey& key, const char* word)
{
    for (int32_t item = 0; item < kMaxKeywords; ++item) {
        const std::string value = ReadString(blob, key, item);
        if (value.empty())
            return false;
        if (value == word)
            return true;
    }
    return false;
}

bool WithinStrike(const SpaceObject& object, float distance)
{
    return distance < kStrikeRadii * object.exclusion_radius;
}

bool Attracts(const SpaceObject& missile, const SpaceObject& other, uint64_t parent, bool tracks)
{
    constexpr uint16_t kStaticOrFast = SpaceObject::kStaticBit | SpaceObject::kFastMoverBit;
    if (other.uniqueID == parent || (other.abits & kStaticOrFast) != 0 || &other == &missile)
        return false;
    if (other.data_tag == kInvisibleTag && !tracks)
        return false;
    if (!missile.side.empty() && other.side == missile.side)
        return false;
    return other.tick_type != kDroneBehaviour && other.tick_type != kMissileBehaviour;
}

struct Aim {
    glm::vec3 point;
    SpaceObject* candidate = nullptr;
};

Aim FindAim(SpaceObject& missile, const Simulation& world, float age, bool dumb)
{
    const ObjectDataBlob& blob = missile.data_set;
    glm::vec3 aim = missile.pos + missile.rot_quat * kNoseOffset;
    const uint64_t parent = ReadUInt64(blob, kParentUid);
    const bool tracks = ReadString(blob, kCloaking) == "tracks";
    SpaceObject* target = FindLive(world, ReadUInt64(blob, kWeaponTargetUid));
    if (target && target->data_tag == kInvisibleTag && !tracks)
        target = nullptr;
    if (target && !dumb) {
        const glm::vec3 d = target->pos - missile.pos;
        const float r = glm::length(d);
        if (r > 0.0f)
            aim += d / r * kTargetPull;
        RaiseExciting(*target, kTargetInterest);
        return {aim, WithinStrike(*target, r) ? target : nullptr};
    }
    if (dumb)
        return {aim, nullptr};
    const float weight = std::clamp(age / kAgeTicks, 0.0f, 1.0f);
    SpaceObject* candidate = nullptr;
    for (SpaceObject* other : Neighbours(world, missile.pos)) {
        if (!Attracts(missile, *other, parent, tracks))
            continue;
        RaiseExciting(*other, kTargetInterest);
        const glm::vec3 d = other->pos - missile.pos;
        const float r = glm::length(d);
        if (r > 0.0f)
            aim += d / r * (kFreePullScale / std::pow(r, 1.5f)) * weight;
        if (WithinStrike(*other, r))
            candidate = other;
    }
    return {aim, candidate};
}

glm::vec3 LandingPoint(const ObjectDataBlob& blob)
{
    return {ReadFiniteFloat(blob, kLandingPoint, 0), ReadFiniteFloat(blob, kLandingPoint, 1),
            ReadFiniteFloat(blob, kLandingPoint, 2)};
}

void LayMine(SpaceObject& missile, Simulation& world, const glm::vec3& where)
{
    QueueDestroy(world, missile.uniqueID);
    std::unique_ptr<SpaceObject> made =
        world.MakeSpaceObject(0, kMineBehaviour, kMineDataTag, SpaceObject::kStaticBit, 0.0f, 0.0f, kMineFatRadius);
    SpaceObject& mine = *made;
    mine.side = missile.side;
    mine.pos = where;
    mine.blink_state = kMineBlinkState;
    mine.lastUpdateTick = world.TickCount();
    WriteUInt64(mine.data_set, kParentUid, missile.uniqueID);
    WriteInt(mine.data_set, kDamageDone, static_cast<int32_t>(ReadInt(missile.data_set, kDamageDone)));
    WriteInt(mine.data_set, kBlastRadius, static_cast<int32_t>(ReadInt(missile.data_set, kBlastRadius)));
    mine.SetFatBox(kMineFatRadius);
    world.AddPendingObject(std::move(made));
    CallBehaviourHook(world, &mine, kBehaviourAssigned, nullptr);
}

// A blast warhead leaves the damage to the world's blast, which grows from
// the missile's place; the struck object takes nothing directly.
void Blast(Simulation& world, const SpaceObject& missile, const char* kind, const glm::vec3& colour,
           const std::string& name, uint64_t parent, const std::string& suffix)
{
    const ObjectDataBlob& blob = missile.data_set;
    world.AddBlast(kind, name, missile.uniqueID, parent, missile.pos, static_cast<int32_t>(ReadInt(blob, kDamageDone)),
                   static_cast<int32_t>(ReadInt(blob, kBlastRadius)));
    Burst(world, missile.pos, kBlastFlash);
    Burst(world, missile.pos, (std::string(kBlastFire) + suffix).c_str());
    Burst(world, missile.pos, kBlastSmoke);
    world.SendEffect(kind, name, missile.side, missile.uniqueID, 0, colour, missile.pos, 0);
}

void Detonate(SpaceObject& missile, Simulation& world, SpaceObject& struck)
{
    const ObjectDataBlob& blob = missile.data_set;
    const std::string name = ReadString(blob, kNameTag);
    const uint64_t parentKey = ReadUInt64(blob, kParentUid);
    const uint64_t parent = VALID_SPACE_OBJ(parentKey) ? parentKey : 0;
    const std::string explosion = ReadString(blob, kColorExplosion);
    const std::string suffix = explosion == "fire" ? std::string(kFireSuffix) : ";color:" + explosion;
    QueueDestroy(world, missile.uniqueID);
    if (HasKeyword(blob, kWarhead, "reduce_shields"))
        Blast(world, missile, "emp", kEmpColour, name, parent, suffix);
    else if (HasKeyword(blob, kWarhead, "blast"))
        Blast(world, missile, "nuke", kNukeColour, name, parent, suffix);
    else {
        const glm::vec3 where = missile.pos;
        world.QueueSoundEvent(kImpactSound, where, kImpactSoundGap);
        Burst(world, where, (std::string(kImpactSparks) + suffix).c_str());
        Burst(world, where, kImpactSmoke);
        // Damage runs game code last: the missile may be gone after it.
        world.ApplyDamage(&struck, static_cast<float>(ReadInt(blob, kDamageDone)), &missile, parent, where,
                          missile.side, ReadString(blob, kTorpedoKey));
    }
}

void Tick(SpaceObject& missile, Simulation& world)
{
    ObjectDataBlob& blob = missile.data_set;
    const uint64_t lived = ReadUInt64(blob, kLifeCount);
    WriteUInt64(blob, kLifeCount, lived + 1);
    const auto age = static_cast<float>(lived);
    RaiseExciting(missile, kOwnInterest);
    const bool dumb = HasKeyword(blob, kBehavior, "dumb");
    const Aim aim = FindAim(missile, world, age, dumb);

    glm::vec3 steerPoint = aim.point;
    if (HasKeyword(blob, kBehavior, "mine")) {
        steerPoint = LandingPoint(blob);
        if (world.serverFlag && glm::length(steerPoint - missile.pos) < kLayingDistance) {
            LayMine(missile, world, steerPoint);
            return;
        }
    }
    SteerToward(missile, missile.rot_quat * kNoseOffset, steerPoint, age / kAgeTicks + kBaseTurnLimit);

    if (!world.serverFlag)
        return;
    if (aim.candidate) {
        Detonate(missile, world, *aim.candidate);
        return;
    }
    ApplyGravityPull(missile);
    const uint64_t parent = ReadUInt64(blob, kParentUid);
    std::erase(missile.contactList, parent);
    for (uint64_t id : missile.contactList) {
        if (SpaceObject* hit = world.GetSpaceObject(id)) {
            missile.contactList.clear();
            Detonate(missile, world, *hit);
            return;
        }
    }
}

void SlowTick(SpaceObject& missile, Simulation& world)
{
    const int64_t deadline = ReadInt(missile.data_set, kDeathTimer);
    if (deadline == 0 || world.TickCount() >= deadline) {
        QueueDestroy(world, missile.uniqueID);
        Burst(world, missile.pos, kExpiredBurst);
    }
    FindGravityWells(missile, world);
}

}  // namespace

void MissileAI(Simulation& world, SpaceObject* missile, int32_t message, void* data)
{
    switch (message) {
    case kBehaviourAssigned:
        Assign(*missile);
        break;
    case kBehaviourTick:
        Tick(*missile, world);
        break;
    case kBehaviourSlowTick:
        SlowTick(*missile, world);
        break;
    case kBehaviourDamage:
        QEL_ASSERT(data, "tdrPtr");
        QueueDestroy(world, missile->uniqueID);
        Burst(world, missile->pos, kDamagedSparks);
        Burst(world, missile->pos, kDamagedSmoke);
        break;
    default:
        break;
    }
}
