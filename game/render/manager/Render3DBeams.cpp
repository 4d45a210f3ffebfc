// Beam weapons and the monster's lightning on the 3D view, one frame of an
// effect event per call: a ribbon from the muzzle to a hit point that slides
// over the target's hull while the event lasts, a light at each end, two
// sparks at the impact, and a ripple on raised shields (where the beam then
// ends). Also the monster's particle aura.

#include "game/render/manager/Render3D.h"

#include "engine/base/QEL3DObject.h"
#include "game/behaviours/MonsterKeys.h"
#include "game/render/ObjectTypeDrawData.h"
#include "game/render/Particle3DSSManager.h"
#include "game/render/PointSandwich.h"
#include "game/render/Ribbon3DManager.h"
#include "game/render/RibbonTrail.h"
#include "game/render/manager/RenderManager.h"
#include "game/render/manager/RenderUtilities.h"
#include "game/world/AppData.h"
#include "game/world/BoltStrike.h"
#include "game/world/DataKey.h"
#include "game/world/ShipData.h"
#include "game/world/ShipKeys.h"
#include "game/world/Simulation.h"

#include "helper/CRand.h"
#include "helper/ColorParse.h"
#include "helper/GeneralUtils.h"

#include <glm/geometric.hpp>
#include <glm/matrix.hpp>

#include <array>
#include <cmath>
#include <set>

namespace {

// An event's age runs in seconds of 30 ticks.
constexpr float kTicksPerAgeUnit = 30.0f;

// The muzzle light stands a little ahead of the muzzle, the impact light a
// little off the hull toward the shooter.
constexpr float kMuzzleLightLead = 20.0f;
constexpr float kImpactLightStandOff = 2.0f;
constexpr float kEffectLightRadius = 50.0f;
constexpr float kMuzzleLightGain = 5.0f;

// Ribbon points live far longer than the one frame they are queued for.
constexpr float kBoltPointLifespan = 100.0f;
constexpr float kBeamWidth = 1.0f;
constexpr float kLightningWidth = 3.0f;

// Lightning jags by a twentieth of its length, then its smaller kinks by a
// quarter of that.
constexpr float kLightningJag = 1.0f / 20.0f;
constexpr float kLightningKink = 0.25f;

// A shield ripple lasts 10 to 20 ticks.
constexpr float kRippleMinTicks = 10.0f;
constexpr float kRippleExtraTicks = 10.0f;

// Two sparks at the impact: a hot yellow one thrown about, then a larger
// blue glow that hardly moves. Cell 10 of the hot particle sheet.
struct Spark {
    float spread;  // each velocity component within ±2 of this
    int32_t lifetime;
    float size;
    glm::vec4 colour;
};
constexpr int32_t kSparkCell = 10;
constexpr std::array<Spark, 2> kBeamSparks{{{0.3f, 15, 10.0f, {1, 1, 0, 1}}, {0.01f, 15, 20.0f, {0, 0, 1, 1}}}};
constexpr std::array<Spark, 2> kLightningSparks{{{0.3f, 20, 15.0f, {1, 1, 0, 1}}, {0.01f, 20, 30.0f, {0, 0, 1, 1}}}};

// The monster's aura: three particles of its three colours each frame,
// flung from its centre.
constexpr float kAuraSpeed = 20.0f;
constexpr int32_t kAuraLifetime = 5;
constexpr float kAuraSize = 200.0f;
constexpr int32_t kAuraCell = 10;

// A beam port that names no colour draws in white.
constexpr glm::vec4 kUncolouredBeam{1.0f, 1.0f, 1.0f, 1.0f};

// crand() mapped onto 0..1.
float CRandFraction()
{
    return static_cast<float>(crand()) / static_cast<float>(CRAND_MAX);
}

glm::vec3 Transform(const glm::mat4& matrix, const glm::vec3& point)
{
    return glm::vec3(matrix * glm::vec4(point, 1.0f));
}

// The first light slot free this frame gets the light; none free, none.
void AddLight(ObjectEffectState& state, const glm::vec3& position, const glm::vec3& colour)
{
    for (RedwoodPointLight& light : state.lights)
        if (light.radius <= 0.0f) {
            light.position = position;
            light.radius = kEffectLightRadius;
            light.colour = colour;
            return;
        }
}

RibbonPoint BoltPoint(const glm::vec3& position, const glm::vec4& colour, float width)
{
    RibbonPoint point;
    point.position = position;
    point.colour = colour;
    point.lifespan = kBoltPointLifespan;
    point.width = width;
    return point;
}

// The unit vector along the offset; none for an offset of no length.
glm::vec3 Direction(const glm::vec3& offset)
{
    const float length = glm::length(offset);
    return length > 0.0f ? offset / length : glm::vec3(0.0f);
}

glm::vec3 Jag(float length)
{
    glm::vec3 offset;
    return RandomVector(offset, length);
}

// The bolt from start to end: thirds and halves pushed off the straight line
// by a twentieth of its length, then the halves between them by a quarter of
// that, thirteen points in all.
void AddLightningPoints(RibbonTrail& trail, const glm::vec3& start, const glm::vec3& end, const glm::vec4& colour)
{
    float d = glm::length(end - start) * kLightningJag;
    const glm::vec3 a = (2.0f * start + end) / 3.0f + Jag(d);
    const glm::vec3 b = (start + 2.0f * end) / 3.0f + Jag(d);
    const glm::vec3 c = (start + a) / 2.0f + Jag(d);
    const glm::vec3 dd = (a + b) / 2.0f + Jag(d);
    const glm::vec3 f = (b + end) / 2.0f + Jag(d);
    d *= kLightningKink;
    const glm::vec3 g = (start + c) / 2.0f + Jag(d);
    const glm::vec3 h = (c + a) / 2.0f + Jag(d);
    const glm::vec3 i = (a + dd) / 2.0f + Jag(d);
    const glm::vec3 j = (dd + b) / 2.0f + Jag(d);
    const glm::vec3 k = (b + f) / 2.0f + Jag(d);
    const glm::vec3 m = (f + end) / 2.0f + Jag(d);
    for (const glm::vec3& point : {start, g, c, h, a, i, dd, j, b, k, f, m, end})
        trail.Add(BoltPoint(point, colour, kLightningWidth));
}

}  // namespace

void Render3D::DrawEffectEvents()
{
    if (!theSimulation)
        return;
    const int64_t now = theSimulation->TickCount();
    std::set<BoltEventKey> drawn;
    for (const EffectEventRecord& event : theSimulation->effectEvents) {
        const float age = static_cast<float>(now - event.startTick) / kTicksPerAgeUnit;
        const BoltEventKey key{event.startTick, event.firstId, event.secondId, event.value, event.kind};
        const bool first = !boltsBegun.contains(key);
        if (event.kind == "beam")
            DrawBeamEffect(event.firstId, event.secondId, event.value, age, first);
        else if (event.kind == "lightning")
            DrawLightningEffect(event.firstId, event.secondId, event.value, age, first);
        drawn.insert(key);
    }
    // Events the world has let go are forgotten with it.
    boltsBegun = std::move(drawn);
}

void Render3D::DrawBeamEffect(uint64_t sourceId, uint64_t targetId, int32_t beamIndex, float age, bool first)
{
    DrawBolt(Bolt::Beam, sourceId, targetId, beamIndex, age, first);
}

void Render3D::DrawLightningEffect(uint64_t sourceId, uint64_t targetId, int32_t beamIndex, float age, bool first)
{
    DrawBolt(Bolt::Lightning, sourceId, targetId, beamIndex, age, first);
}

// Where the object was drawn last frame; one the object pass draws without
// a matrix of its own (a monster), or has not drawn yet, stands at its place
// and turn.
glm::mat4 Render3D::EffectMatrix(const SpaceObject& object)
{
    const glm::mat4& drawn = owner.objectEffectRecords[object.uniqueID].drawMatrix;
    return drawn == glm::mat4(1.0f) ? ShipMatrix(object) : drawn;
}

// Where a bolt runs this frame, and in what colour.
struct Render3D::BoltPath {
    glm::vec4 colour = kUncolouredBeam;
    glm::mat4 targetMatrix{1.0f};
    glm::vec3 start{0.0f};  // the muzzle
    glm::vec3 hit{0.0f};    // on the target's hull, in its own frame
    glm::vec3 end{0.0f};    // the hit, in space
};

// The bolt reads the world and draws: a ribbon, sparks and lights, and a
// ripple on a raised shield. The hull's sound is the world's (BoltStrike.h).
void Render3D::DrawBolt(Bolt kind, uint64_t sourceId, uint64_t targetId, int32_t beamIndex, float age, bool first)
{
    // An index past the hull records' beam ports names no beam.
    if (beamIndex < 0 || beamIndex >= ObjectEffectState::kBeams || !hot_particles || !ribbons)
        return;
    const SpaceObject* source = FindSpaceObject(sourceId);
    const SpaceObject* target = FindSpaceObject(targetId);
    if (!source || !target || !BoltInReach(*source))
        return;
    BoltPath path = AimBolt(kind, *source, *target, beamIndex, age, first);
    AddLight(owner.objectEffectRecords[sourceId], path.start + kMuzzleLightLead * Direction(path.end - path.start),
             glm::vec3(path.colour) * kMuzzleLightGain);
    const glm::vec3 impact = StrikeTarget(kind, *source, *target, path);
    QueueBoltRibbon(kind, path, impact);
    ThrowSparks(kind, impact);
    AddLight(owner.objectEffectRecords[targetId], impact + kImpactLightStandOff * Direction(path.start - impact),
             glm::vec3(1.0f));
}

// Shooters farther from the camera than the beams' draw distance draw none.
bool Render3D::BoltInReach(const SpaceObject& source) const
{
    const glm::vec3 apart = source.pos + camera.eye;
    const double reach = static_cast<double>(beam_draw_distance);
    return static_cast<double>(glm::dot(apart, apart)) <= reach * reach;
}

// The muzzle and the bolt's colour come from the hull record's beam port for
// a beam, the shooter's "beamColor" for lightning. The hit slides with age
// between two points of the target's hull that the first frame chooses.
Render3D::BoltPath Render3D::AimBolt(Bolt kind, const SpaceObject& source, const SpaceObject& target,
                                     int32_t beamIndex, float age, bool first)
{
    std::array<glm::vec3, 2>& hits =
        owner.objectEffectRecords[source.uniqueID].beamHits[static_cast<size_t>(beamIndex)];
    if (first)
        for (glm::vec3& hit : hits)
            hit = RandomHullPoint(target);

    const ShipDataRecord* record = ShipData::Instance().Find(source.data_tag);
    const ShipBeamPort* port = record ? &record->beamPorts[static_cast<size_t>(beamIndex)] : nullptr;
    BoltPath path;
    if (kind == Bolt::Lightning)
        ParseColor(path.colour, ReadString(source.data_set, monster::kLightningColor));
    else if (port && port->color != glm::vec4(0.0f))
        path.colour = port->color;
    path.targetMatrix = EffectMatrix(target);
    path.start = Transform(EffectMatrix(source), port ? port->position : glm::vec3(0.0f));
    path.hit = age * hits[0] + (1.0f - age) * hits[1];
    path.end = Transform(path.targetMatrix, path.hit);
    return path;
}

// Where the bolt ends: on the hull a beam's ray meets, or on the shell of a
// raised shield, which ripples there; lightning ends where it was aimed.
glm::vec3 Render3D::StrikeTarget(Bolt kind, const SpaceObject& source, const SpaceObject& target, BoltPath& path)
{
    const FacingShield shield = ShieldFacingShooter(*theSimulation, source, target);
    ObjectTypeDrawData* targetDraw = owner.GetObjectTypeDrawData(target.data_tag);
    // The bolt in the target's own frame, for the ray tests.
    const glm::mat4 toModel = glm::inverse(path.targetMatrix);
    const glm::vec3 origin = Transform(toModel, path.start);
    const glm::vec3 ray = Direction(Transform(toModel, path.end) - origin);
    const bool rayUsable =
        ray != glm::vec3(0.0f) && std::isfinite(glm::dot(ray, ray)) && std::isfinite(glm::dot(origin, origin));
    float distance = 0.0f;
    glm::vec3 rayHit{0.0f};
    glm::vec3 normal{0.0f};
    if (!shield.raised) {
        const QEL3DDrawUnit* hull =
            targetDraw->mesh && !targetDraw->mesh->units.empty() ? &targetDraw->mesh->units.front() : nullptr;
        if (kind == Bolt::Beam && hull && rayUsable && hull->RayCast(origin, ray, distance, rayHit, normal))
            path.hit = rayHit;
    } else if (targetDraw->pointSandwich && rayUsable &&
               targetDraw->pointSandwich->RayCast(origin, ray, distance, rayHit, normal)) {
        StartShieldRipple(owner.objectEffectRecords[target.uniqueID], rayHit, shield.strength);
        if (kind == Bolt::Beam)
            path.hit = rayHit;
    }
    return kind == Bolt::Beam ? Transform(path.targetMatrix, path.hit) : path.end;
}

// A ripple in the target's first free slot, green on a strong shield turning
// red as it weakens; with every slot rippling, none.
void Render3D::StartShieldRipple(ObjectEffectState& target, const glm::vec3& where, float strength)
{
    const float brightness = AppData::GetFloat("shield_splash_brightness_coeff");
    const int64_t now = theSimulation->TickCount();
    for (size_t slot = 0; slot < static_cast<size_t>(ObjectEffectState::kRipples); ++slot) {
        if (target.rippleStart[slot] != 0)
            continue;
        target.rippleStart[slot] = now;
        target.rippleEnd[slot] =
            static_cast<int64_t>(static_cast<float>(now) + CRandFraction() * kRippleExtraTicks + kRippleMinTicks);
        target.rippleOffset[slot] = where;
        target.rippleColour[slot] =
            glm::vec4((1.0f - strength) * brightness, strength * brightness, 0.0f, brightness);
        return;
    }
}

// A beam is one straight quad from the impact to the muzzle; lightning a
// jagged line to where it was aimed.
void Render3D::QueueBoltRibbon(Bolt kind, const BoltPath& path, const glm::vec3& impact)
{
    RibbonTrail bolt;
    if (kind == Bolt::Beam) {
        bolt.Add(BoltPoint(impact, path.colour, kBeamWidth));
        bolt.Add(BoltPoint(path.start, path.colour, kBeamWidth));
    } else {
        AddLightningPoints(bolt, path.start, path.end, path.colour);
    }
    ribbons->Update(bolt, -camera.eye);
}

void Render3D::ThrowSparks(Bolt kind, const glm::vec3& impact)
{
    for (const Spark& spark : kind == Bolt::Beam ? kBeamSparks : kLightningSparks) {
        glm::vec3 velocity;
        for (int axis = 0; axis < 3; ++axis)
            velocity[axis] = (CRandFraction() * 4.0f - 2.0f) * spark.spread;
        hot_particles->Add(impact, velocity, spark.colour, spark.size, spark.lifetime, kSparkCell);
    }
}

void Render3D::EmitObjectParticles(const SpaceObject& object, const std::string& colour1, const std::string& colour2,
                                   const std::string& colour3)
{
    if (!hot_particles)
        return;
    for (const std::string* text : {&colour1, &colour2, &colour3}) {
        glm::vec4 colour{1.0f};
        ParseColor(colour, *text);
        glm::vec3 velocity;
        hot_particles->Add(object.pos, RandomVector(velocity, kAuraSpeed), colour, kAuraSize, kAuraLifetime, kAuraCell);
    }
}
