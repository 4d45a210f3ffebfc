// The 3D view's effect state: set-up and release of the particle, ribbon and
// ring managers, the clearing of every effect for a new simulation, and the
// once-a-tick update that makes the world's running effects: missile and
// drone flares and trails, the exhaust of moving ships, the docking beam of
// a docked player ship, and the particle emitters.

#include "game/render/manager/Render3D.h"

#include "engine/base/QEL3DObject.h"
#include "engine/base/QelGraphicsFactoryBase.h"
#include "game/behaviours/PlayerShipKeys.h"
#include "game/net/NetworkIds.h"
#include "game/render/GenericRect.h"
#include "game/render/Particle3DInstancedManager.h"
#include "game/render/Particle3DSSManager.h"
#include "game/render/ProcRing3DManager.h"
#include "game/render/Ribbon3DManager.h"
#include "game/render/Ring3D.h"
#include "game/render/manager/QelGasGiant.h"
#include "game/render/manager/RenderManager.h"
#include "game/world/AppData.h"
#include "game/world/DataKey.h"
#include "game/world/FiniteMath.h"
#include "game/world/RandomInt.h"
#include "game/world/ShipData.h"
#include "game/world/ShipKeys.h"
#include "game/world/Simulation.h"
#include "helper/GeneralUtils.h"

#include <glm/geometric.hpp>
#include <glm/gtc/matrix_transform.hpp>

#include <algorithm>
#include <cmath>

namespace {

// Trails take a point, and age, every this many render manager ticks.
constexpr uint64_t kTrailStepTicks = 3;
constexpr float kTrailLifespan = 40.0f;
constexpr float kTrailWidth = 5.0f;

// The two flares of a missile or drone: a coloured one and a white core.
constexpr float kFlareSize = 40.4f;
constexpr int32_t kFlareLifetime = 2;
constexpr float kFlareCoreSize = 30.3f;
constexpr int32_t kFlareCoreLifetime = 3;
constexpr int32_t kFlareCell = 8;
constexpr glm::vec4 kDroneFlare{0.0f, 0.0f, 1.0f, 1.0f};
constexpr glm::vec4 kDroneTrail{1.0f, 0.7f, 0.7f, 1.0f};

// The docking beam: from the base to a random point of the hull, each tick.
constexpr glm::vec4 kDockingBeam{1.0f, 0.0f, 0.4f, 1.0f};
constexpr float kDockingBeamWidth = 2.0f;

// Ships slower than this leave no exhaust.
constexpr float kExhaustMinSpeed = 0.1f;
// The exhaust's size and glow grow with speed, held to this range of
// speed / kExhaustSpeedUnit.
constexpr float kExhaustSpeedUnit = 25.0f;
constexpr float kExhaustMinThrottle = 0.1f;
constexpr float kExhaustMaxThrottle = 5.0f;
constexpr float kExhaustGlowPerThrottle = 1.0f / 30.0f;
constexpr float kExhaustBaseSize = 5.0f;
constexpr float kExhaustCoreMaxSize = 40.0f;
// One pair of particles every two units the port moved, 100 at most, each
// jittered this far.
constexpr float kExhaustPairsPerUnit = 0.5f;
constexpr int32_t kExhaustMaxPairs = 100;
constexpr float kExhaustJitter = 0.3f;
constexpr int32_t kExhaustLifetime = 50;
constexpr int32_t kExhaustCoreLifetime = 3;
constexpr int32_t kExhaustCell = 4;
constexpr int32_t kExhaustCoreCell = 8;
constexpr float kExhaustCoreGlow = 0.1f;
// Exhaust particles barely move: the ship leaves them behind.
constexpr glm::vec3 kExhaustDrift{0.0001f};

const glm::vec4 kWhite{1.0f};

// A black hole's gas: ten funnels of growing width, each of its own hue,
// turning at its own slow rate.
constexpr int kGasRings = 10;
constexpr float kGasHueStep = 36.0f;  // degrees
constexpr float kGasValue = 0.2f;
constexpr float kGasBrightness = 2.0f;
constexpr float kGasHeight = 200.0f;
constexpr float kGasTicksPerRadian = 100.0f;  // for the first funnel; each next one a tick slower

// The navigation ring lies this far below the ship, this wide, and shows
// only brighter than this.
constexpr float kNavRingDrop = 28.0f;
constexpr float kNavRingRadius = 100.0f;
constexpr float kNavRingMinBrightness = 0.1f;

glm::vec3 ReadColour(const SpaceObject& object, const DataKey (&keys)[3])
{
    return {ReadFloat(object.data_set, keys[0]), ReadFloat(object.data_set, keys[1]),
            ReadFloat(object.data_set, keys[2])};
}

RibbonPoint TrailPoint(const glm::vec3& position, const glm::vec4& colour, float lifespan, float width)
{
    RibbonPoint point;
    point.position = position;
    point.colour = colour;
    point.lifespan = lifespan;
    point.width = width;
    return point;
}

SpaceObject* FindObject(const Simulation& world, uint64_t id)
{
    return IsSpaceObjectId(id) ? world.GetSpaceObject(id) : nullptr;
}

}  // namespace

// After ReleaseMeshes.
void Render3D::SetupEffects()
{
    hot_particles = std::make_unique<Particle3DSSManager>();
    hot_particles->Setup("grid-particles-ss", 1.0f, 0.0f, true);
    smoke_particles = std::make_unique<Particle3DSSManager>();
    smoke_particles->Setup("smoke-particles2-ss", 0.0f, 0.0f, false);
    dust_particles = std::make_unique<Particle3DInstancedManager>();
    dust_particles->Setup("aster2", 0.0f, 0);
    ribbons = std::make_unique<Ribbon3DManager>();
    ribbons->Setup("beamSet");
    proc_rings = std::make_unique<ProcRing3DManager>();
    proc_rings->Setup("smallWhite");
    ring = std::make_unique<Ring3D>();
    nav_ring_band = std::make_unique<GenericRect>(kNavRingInner, kNavRingOuter, kNavRingSides);
    ring_bitmap = gGraphicsFactory ? gGraphicsFactory->LoadTexture("no-number-ring") : nullptr;
}

void Render3D::ReleaseEffects()
{
    dust_particles.reset();
    hot_particles.reset();
    smoke_particles.reset();
    ribbons.reset();
    proc_rings.reset();
    ring.reset();
    nav_ring_band.reset();
    ring_bitmap = nullptr;
    ribbon_trails.clear();
    emitters.Clear();
}

// The managers stay; what they hold goes. Exhaust positions go too: the new
// simulation's ships reuse the old ids, and a remembered port would draw a
// line of exhaust from where the old ship was.
void Render3D::ClearParticleEffects()
{
    if (dust_particles)
        dust_particles->Clear();
    if (hot_particles)
        hot_particles->Clear();
    if (smoke_particles)
        smoke_particles->Clear();
    if (ribbons)
        ribbons->ClearQueue();
    if (proc_rings)
        proc_rings->ClearQueue();
    ribbon_trails.clear();
    emitters.Clear();
    exhaust_history.clear();
}

void Render3D::UpdateEffects()
{
    ++effect_tick;
    const glm::vec3 viewer = -camera.eye;
    if (hyper_warp_on) {
        if (smoke_particles)
            smoke_particles->Update(viewer);
        if (hot_particles)
            hot_particles->Update(viewer);
        return;
    }
    if (!dust_particles || !hot_particles || !smoke_particles || !ribbons || !gas_giant)
        return;
    gas_giant->timeValue += QelGasGiant::kTimeStep;
    smoke_particles->Update(viewer);
    hot_particles->Update(viewer);
    dust_particles->Update(viewer, viewer - prev_camera_pos);
    prev_camera_pos = viewer;
    ribbons->ClearQueue();
    const Simulation* world = theSimulation && theSimulation->Container() ? theSimulation : nullptr;
    if (world) {
        UpdateParticleEmitters();
        UpdateObjectEffects(*world, viewer);
    }
    AgeTrails(world, viewer);
}

// Only objects within the effects distance of the camera on the plane get
// effects.
void Render3D::UpdateObjectEffects(const Simulation& world, const glm::vec3& viewer)
{
    const float reach = static_cast<float>(AppData::GetInt("render-distance-effects"));
    SuperContainer& container = *world.Container();
    container.Query(PlaneBox::Around(viewer.x, viewer.z, reach));
    for (SuperContainerObject* found : container.QueryResults()) {
        SpaceObject& object = static_cast<SpaceObject&>(*found);
        if (object.tick_type == "behav_missile") {
            const glm::vec3 forward = SafeNormalize(object.rot_quat * glm::vec3(0.0f, 0.0f, 1.0f));
            AddFlares(object.pos, forward, glm::vec4(ReadColour(object, shipkeys::kColorFlare), 1.0f));
            AddTrailPoint(object, glm::vec4(ReadColour(object, shipkeys::kColorTrail), 1.0f));
        } else if (object.tick_type == "behav_drone") {
            AddFlares(object.pos, glm::vec3(0.0f), kDroneFlare);
            AddTrailPoint(object, kDroneTrail);
        } else {
            if (object.tick_type == "behav_playership")
                UpdateDockingBeam(world, object);
            if (std::fabs(object.cur_speed) > kExhaustMinSpeed)
                AddExhaust(object);
        }
    }
}

void Render3D::AddFlares(const glm::vec3& position, const glm::vec3& velocity, const glm::vec4& colour)
{
    hot_particles->Add(position, velocity, colour, kFlareSize, kFlareLifetime, kFlareCell);
    hot_particles->Add(position, velocity, kWhite, kFlareCoreSize, kFlareCoreLifetime, kFlareCell);
}

RibbonTrail& Render3D::TrailOf(uint64_t objectId)
{
    std::unique_ptr<RibbonTrail>& trail = ribbon_trails[objectId];
    if (!trail)
        trail = std::make_unique<RibbonTrail>();
    return *trail;
}

void Render3D::AddTrailPoint(const SpaceObject& object, const glm::vec4& colour)
{
    RibbonTrail& trail = TrailOf(object.uniqueID);
    if (owner.tickCounter % kTrailStepTicks == 0)
        trail.Add(TrailPoint(object.pos, colour, kTrailLifespan, kTrailWidth));
}

// A docked (or docking) ship is joined to its base by a two-point beam,
// redrawn every tick to a new point of its hull.
void Render3D::UpdateDockingBeam(const Simulation& world, const SpaceObject& ship)
{
    if (ReadString(ship.data_set, playership::kDockState) == playership::kDockStateUndocked)
        return;
    const SpaceObject* base = FindObject(world, ReadUInt64(ship.data_set, playership::kDockBaseId));
    if (!base)
        return;
    RibbonTrail& trail = TrailOf(ship.uniqueID);
    trail.count = 0;
    trail.Add(TrailPoint(base->pos, glm::vec4(0.0f), 1.0f, kDockingBeamWidth));
    const glm::vec3 onHull = glm::vec3(ShipMatrix(ship) * glm::vec4(RandomHullPoint(ship), 1.0f));
    trail.Add(TrailPoint(onHull, kDockingBeam, 1.0f, kDockingBeamWidth));
}

glm::vec3 Render3D::RandomHullPoint(const SpaceObject& object)
{
    const ObjectTypeDrawData* drawData = owner.GetObjectTypeDrawData(object.data_tag);
    QelVertexList* vertices =
        drawData->mesh && !drawData->mesh->units.empty() ? drawData->mesh->units.front().Vertices() : nullptr;
    if (!vertices || vertices->GetCount() < 1)
        return glm::vec3(0.0f);
    const int32_t index = RandomInt(owner.random_seed, 0, vertices->GetCount() - 1);
    glm::vec3 point;
    vertices->GetPosition(index, point.x, point.y, point.z);
    return point;
}

// Each port leaves a line of particles from where it was last tick to where
// it is now, so fast ships draw an unbroken plume. A port's first tick only
// records where it is.
void Render3D::AddExhaust(const SpaceObject& ship)
{
    const ShipDataRecord* record = ShipData::Instance().Find(ship.data_tag);
    if (!record)
        return;
    const ObjectTypeDrawData* drawData = owner.GetObjectTypeDrawData(ship.data_tag);
    const float size = drawData->mesh ? drawData->size * record->meshScale / 100.0f * kExhaustBaseSize
                                      : kExhaustBaseSize;
    const glm::mat4 world = ShipMatrix(ship);
    const float throttle = std::clamp(ship.cur_speed / kExhaustSpeedUnit, kExhaustMinThrottle, kExhaustMaxThrottle);
    const float glow = throttle * kExhaustGlowPerThrottle;
    std::array<glm::vec3, kShipExhaustPortSlots>& history = exhaust_history[ship.uniqueID];
    for (size_t port = 0; port < record->exhaustPorts.size() && port < history.size(); ++port) {
        const ShipExhaustPort& exhaust = record->exhaustPorts[port];
        if (exhaust.position == glm::vec3(0.0f))
            continue;
        const glm::vec3 now = glm::vec3(world * glm::vec4(exhaust.position, 1.0f));
        const glm::vec3 before = history[port];
        history[port] = now;
        if (before == glm::vec3(0.0f))
            continue;
        const float moved = glm::length(now - before);
        const int32_t pairs = std::isfinite(moved)
                                  ? std::clamp(static_cast<int32_t>(std::min(kExhaustPairsPerUnit * moved,
                                                                             static_cast<float>(kExhaustMaxPairs))),
                                               1, kExhaustMaxPairs)
                                  : 1;
        const glm::vec4 colour = exhaust.color + glow;
        const float coreSize = std::min(2.0f * size * throttle, kExhaustCoreMaxSize);
        for (int32_t i = 1; i <= pairs; ++i) {
            const float t = static_cast<float>(i) / static_cast<float>(pairs + 1);
            glm::vec3 jitter;
            RandomVector(jitter, kExhaustJitter);
            const glm::vec3 at = before * (1.0f - t) + now * t + jitter + (now - before);
            hot_particles->Add(at, kExhaustDrift, colour, size, kExhaustLifetime, kExhaustCell);
            hot_particles->Add(at, kExhaustDrift, colour + kExhaustCoreGlow, coreSize,
                           kExhaustCoreLifetime, kExhaustCoreCell);
        }
    }
}

// Every trail is queued for drawing; every third tick its points age, and
// a trail whose points have all expired goes once its object is gone.
void Render3D::AgeTrails(const Simulation* world, const glm::vec3& viewer)
{
    const bool step = owner.tickCounter % kTrailStepTicks == 0;
    for (auto it = ribbon_trails.begin(); it != ribbon_trails.end();) {
        const uint64_t id = it->first;
        RibbonTrail& trail = *it->second;
        ribbons->Update(trail, viewer);
        const bool gone = step && !trail.Age() && (id == 0 || !world || !FindObject(*world, id));
        it = gone ? ribbon_trails.erase(it) : std::next(it);
    }
}

void Render3D::DrawGasRings(const SpaceObject& blackHole, const glm::mat4& view)
{
    Qel2dBitmap* gas = gGraphicsFactory->LoadTexture("gas-ring");
    if (!ring || !gas)
        return;
    const float tick = static_cast<float>(theSimulation->TickCount());
    const float radius = blackHole.exclusion_radius;
    for (int j = 0; j < kGasRings; ++j) {
        glm::vec3 rgb(0.0f);
        HsvToRgb(kGasHueStep * static_cast<float>(j), 1.0f, kGasValue, rgb.r, rgb.g, rgb.b);
        const glm::mat4 world = glm::rotate(glm::translate(glm::mat4(1.0f), blackHole.pos),
                                            tick / (kGasTicksPerRadian + static_cast<float>(j)),
                                            glm::vec3(0.0f, 1.0f, 0.0f));
        const float reach = radius * static_cast<float>(j + 1);
        ring->Draw(gas, world, view, glm::vec4(rgb, 1.0f) * kGasBrightness, glm::vec3(0.0f, kGasHeight, reach / 2.0f),
                   glm::vec3(0.0f, -kGasHeight, reach), true, false);
    }
}

// The flat reference ring under the ship, as bright as the user set it,
// or as the ship's own value holds it when that is dimmer.
void Render3D::DrawNavRing(const SpaceObject* ship, const glm::mat4& view)
{
    if (!ship || !nav_ring_band || !ring_bitmap || owner.cam_mode == "cinematic")
        return;
    const float brightness =
        std::min(owner.navRingBrightness, ReadFloat(ship->data_set, playership::kReferenceRing3dBrightness));
    if (!(brightness > kNavRingMinBrightness))
        return;
    const glm::mat4 world =
        glm::rotate(glm::scale(glm::translate(glm::mat4(1.0f), ship->pos - glm::vec3(0.0f, kNavRingDrop, 0.0f)),
                               glm::vec3(-kNavRingRadius, kNavRingRadius, kNavRingRadius)),
                    2.0f * kQuarterTurn, glm::vec3(0.0f, 1.0f, 0.0f));
    nav_ring_band->Draw(world, view, glm::vec4(1.0f, 1.0f, 1.0f, brightness), ring_bitmap);
}
