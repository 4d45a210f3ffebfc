// Beam weapons and the monster's lightning on the 3D view, one frame of an
// effect event per call: a ribbon from the muzzle to a hit point that slides
// over the target's hull while the event lasts, a light at each end, two
// sparks at the impact, and a ripple on raised shields (where the beam then
// ends) or the sound of a hull hit. Also the monster's particle aura.

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

// A hull hit's sound plays at most once in this many ticks.
constexpr int64_t kHullSoundGap = 300;

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
    for (EffectEventRecord& event : theSimulation->effectEvents) {
        const float age = static_cast<float>(now - event.startTick) / kTicksPerAgeUnit;
        const bool first = event.framesDrawn < 1;
        if (event.kind == "beam")
            DrawBeamEffect(event.firstId, event.secondId, event.value, age, first);
        else if (event.kind == "lightning")
            DrawLightningEffect(event.firstId, event.secondId, event.value, age, first);
        ++event.framesDrawn;
    }
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

void Render3D::DrawBolt(Bolt kind, uint64_t sourceId, uint64_t targetId, int32_t beamIndex, float age, bool first)
{
    // An index past the hull records' beam ports names no beam.
    if (beamIndex < 0 || beamIndex >= ObjectEffectState::kBeams || !hot_particles || !ribbons)
        return;
    SpaceObject* source = FindSpaceObject(sourceId);
    SpaceObject* target = FindSpaceObject(targetId);
    if (!source || !target)
        return;
    const glm::vec3 camera = -theCamera.eye;
    const glm::vec3 apart = source->pos - camera;
    const double reach = static_cast<double>(beam_draw_distance);
    if (static_cast<double>(glm::dot(apart, apart)) > reach * reach)
        return;

    ObjectTypeDrawData* targetDraw = owner.GetObjectTypeDrawData(target->data_tag);
    const QEL3DDrawUnit* hull =
        targetDraw->mesh && !targetDraw->mesh->units.empty() ? &targetDraw->mesh->units.front() : nullptr;
    std::array<glm::vec3, 2>& hits = owner.objectEffectRecords[sourceId].beamHits[static_cast<size_t>(beamIndex)];
    if (first)
        for (glm::vec3& hit : hits)  // two points of the target's hull, between which the hit slides
            hit = RandomHullPoint(*target);

    // The muzzle and the bolt's colour: the hull record's beam port for a
    // beam, the shooter's "beamColor" for lightning.
    const ShipDataRecord* record = ShipData::Instance().Find(source->data_tag);
    const ShipBeamPort* port = record ? &record->beamPorts[static_cast<size_t>(beamIndex)] : nullptr;
    glm::vec4 colour = kUncolouredBeam;
    if (kind == Bolt::Lightning)
        ParseColor(colour, ReadString(source->data_set, monster::kLightningColor));
    else if (port && port->color != glm::vec4(0.0f))
        colour = port->color;
    const glm::mat4 sourceMatrix = EffectMatrix(*source);
    const glm::mat4 targetMatrix = EffectMatrix(*target);
    const glm::vec3 start = Transform(sourceMatrix, port ? port->position : glm::vec3(0.0f));
    glm::vec3 hit = age * hits[0] + (1.0f - age) * hits[1];
    const glm::vec3 end = Transform(targetMatrix, hit);

    ObjectEffectState& from = owner.objectEffectRecords[sourceId];
    AddLight(from, start + kMuzzleLightLead * Direction(end - start), glm::vec3(colour) * kMuzzleLightGain);

    // The target's shield facing the shooter, when it is up and holds.
    bool raised = false;
    float strength = 0.0f;
    const int64_t shields = ReadInt(target->data_set, shipkeys::kShieldCount);
    if (shields >= 1) {
        const int32_t facing = shields == 1 ? 0 : theSimulation->GetShieldHitIndex(*source, *target);
        const float value = ReadFloat(target->data_set, shipkeys::kShieldVal, facing);
        const float most = ReadFloat(target->data_set, shipkeys::kShieldMaxVal, facing);
        if (value > 0.0f) {
            strength = most > 0.0f ? std::clamp(value / most, 0.0f, 1.0f) : 1.0f;
            raised = ReadInt(target->data_set, shipkeys::kShieldsRaisedFlag) != 0;
        }
    }
    const float brightness = AppData::GetFloat("shield_splash_brightness_coeff");

    // The bolt in the target's own frame, for the ray tests.
    const glm::mat4 toModel = glm::inverse(targetMatrix);
    const glm::vec3 origin = Transform(toModel, start);
    const glm::vec3 ray = Direction(Transform(toModel, end) - origin);
    const bool rayUsable = ray != glm::vec3(0.0f) && std::isfinite(glm::dot(ray, ray)) &&
                           std::isfinite(glm::dot(origin, origin));
    float distance = 0.0f;
    glm::vec3 rayHit{0.0f};
    glm::vec3 normal{0.0f};
    ObjectEffectState& to = owner.objectEffectRecords[targetId];
    if (!raised) {
        if (first && GetMainScreenShip())
            theSimulation->QueueSoundEvent("hull_damage", target->pos, kHullSoundGap);
        if (kind == Bolt::Beam && hull && rayUsable && hull->RayCast(origin, ray, distance, rayHit, normal))
            hit = rayHit;
    } else if (targetDraw->pointSandwich && rayUsable &&
               targetDraw->pointSandwich->RayCast(origin, ray, distance, rayHit, normal)) {
        const int64_t now = theSimulation->TickCount();
        for (int slot = 0; slot < ObjectEffectState::kRipples; ++slot) {
            const size_t s = static_cast<size_t>(slot);
            if (to.rippleStart[s] != 0)
                continue;
            to.rippleStart[s] = now;
            to.rippleEnd[s] = static_cast<int64_t>(static_cast<float>(now) + CRandFraction() * kRippleExtraTicks +
                                                   kRippleMinTicks);
            to.rippleOffset[s] = rayHit;
            to.rippleColour[s] = glm::vec4((1.0f - strength) * brightness, strength * brightness, 0.0f, brightness);
            break;
        }
        if (kind == Bolt::Beam)
            hit = rayHit;
    }
    const glm::vec3 impact = kind == Bolt::Beam ? Transform(targetMatrix, hit) : end;

    RibbonTrail bolt;
    if (kind == Bolt::Beam) {
        bolt.Add(BoltPoint(impact, colour, kBeamWidth));
        bolt.Add(BoltPoint(start, colour, kBeamWidth));
    } else {
        AddLightningPoints(bolt, start, end, colour);
    }
    ribbons->Update(bolt, camera);

    for (const Spark& spark : kind == Bolt::Beam ? kBeamSparks : kLightningSparks) {
        glm::vec3 velocity;
        for (int axis = 0; axis < 3; ++axis)
            velocity[axis] = (CRandFraction() * 4.0f - 2.0f) * spark.spread;
        hot_particles->Add(impact, velocity, spark.colour, spark.size, spark.lifetime, kSparkCell);
    }

    AddLight(to, impact + kImpactLightStandOff * Direction(start - impact), glm::vec3(1.0f));
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
