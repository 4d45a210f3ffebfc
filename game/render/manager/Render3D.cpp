// The 3D view's set-up and its frame: the sky, the objects near the ship
// with the shader of their kind, the effects, and the copy into the widget's
// rectangle.

#include "game/render/manager/Render3D.h"

#include "engine/base/QEL3DObject.h"
#include "engine/base/Qel2dBitmap.h"
#include "engine/base/QelDrawProcess.h"
#include "engine/base/QelGraphicsFactoryBase.h"
#include "game/behaviours/PlayerShipKeys.h"
#include "game/behaviours/PlayerShipScience.h"
#include "game/render/PointSandwich.h"
#include "game/render/GenericRect.h"
#include "game/render/Particle3DInstancedManager.h"
#include "game/render/Particle3DSSManager.h"
#include "game/render/ProcRing3DManager.h"
#include "game/render/Ribbon3DManager.h"
#include "game/render/Ring3D.h"
#include "game/render/manager/QelGasGiant.h"
#include "game/render/manager/QelVolumeManager.h"
#include "game/render/SkyBoxManager.h"
#include "game/render/manager/BodyParameters.h"
#include "game/render/manager/RenderManager.h"
#include "game/render/manager/RenderUtilities.h"
#include "game/ui/UIContext.h"
#include "game/world/AppData.h"
#include "game/world/DataKey.h"
#include "game/world/ShipData.h"
#include "game/world/Simulation.h"

#include <glm/gtc/matrix_transform.hpp>
#include <glm/gtc/quaternion.hpp>

#include <algorithm>
#include <cmath>

namespace {

// The labels of the view are drawn into its target, not the window.
constexpr const char* kViewSurface = "3d view";

// Drones are drawn at a tenth of their mesh, spinning a radian every ten ticks.
constexpr float kDroneScale = 0.1f;
constexpr float kDroneTicksPerRadian = 10.0f;

// A shield ripple's band moves this far from its hit over its life, in world
// units, and is this wide.
constexpr float kRippleBandSpeed = 26.0f;
constexpr float kRippleBandWidth = 5.0f;

using playership::kScan;

constexpr DataKey kLocalScale{"local_scale_coeff", kPlayDoc};
constexpr DataKey kLocalScaleX{"local_scale_x_coeff", kPlayDoc};
constexpr DataKey kLocalScaleY{"local_scale_y_coeff", kPlayDoc};
constexpr DataKey kLocalScaleZ{"local_scale_z_coeff", kPlayDoc};

// What an object is drawn as, from its ship key and behaviour.
enum class ObjectKind { Drone, Invisible, Nebula, BlackHole, Planet, Nothing, Monster, Ship };

ObjectKind KindOf(const SpaceObject& object)
{
    const std::string& key = object.data_tag;
    if (key == "drone")
        return ObjectKind::Drone;
    if (key == "invisible")
        return ObjectKind::Invisible;
    if (key == "nebula")
        return ObjectKind::Nebula;
    if (key == "maelstrom" || key == "blackhole")
        return ObjectKind::BlackHole;
    if (key == "planet")
        return ObjectKind::Planet;
    if (object.tick_type == "behav_missile" || object.tick_type == "behav_selection")
        return ObjectKind::Nothing;
    if (object.tick_type == "behav_monster")
        return ObjectKind::Monster;
    return ObjectKind::Ship;
}

// A scale coefficient of the object's own; 0 (or none) counts as 1.
float ScaleCoefficient(const SpaceObject& object, const DataKey& key)
{
    const float value = ReadFloat(object.data_set, key);
    return value == 0.0f ? 1.0f : value;
}

// How brightly a ship's lights glow: normal, off, pulsing with the delay, or
// blinking with the negated delay.
float GlowOf(int32_t blinkState, int64_t tick)
{
    if (blinkState == 0)
        return 1.0f;
    if (blinkState == -1)
        return 0.0f;
    if (blinkState > 0)
        return 1.0f + std::sin(static_cast<float>(tick) / static_cast<float>(blinkState));
    return (tick / -static_cast<int64_t>(blinkState)) % 2 != 0 ? 1.0f : 0.0f;
}

int64_t Squared(int32_t limit)
{
    return static_cast<int64_t>(limit) * limit;
}

}  // namespace

// The distances beyond which the view draws no object of the class, squared.
struct Render3D::DistanceLimits {
    int64_t objects = 0;
    int64_t nebulae = 0;
    int64_t asteroids = 0;
};

Render3D::Render3D(RenderManager& manager) : owner(manager) {}

Render3D::~Render3D() = default;

void Render3D::Setup()
{
    ReleaseMeshes();
    SetupEffects();
    if (!gGraphicsFactory)
        return;
    volumes = std::make_unique<QelVolumeManager>();
    volumes->Setup(kNebulaOctaves, NebulaVolumeRanges{});
    gas_giant = std::make_unique<QelGasGiant>();
    const int32_t divisor = std::max(owner.nebulaBuffSizeDiv, 1);
    main_target = gGraphicsFactory->GetRenderTarget(kMainTargetName, owner.mainBuffWidth, owner.mainBuffHeight, true);
    const int32_t nebulaWidth = std::max(owner.mainBuffWidth / divisor, 1);
    const int32_t nebulaHeight = std::max(owner.mainBuffHeight / divisor, 1);
    nebula_target = gGraphicsFactory->GetRenderTarget(kNebulaTargetName, nebulaWidth, nebulaHeight, true);
    soft_nebula_target = gGraphicsFactory->GetRenderTarget(kSoftNebulaTargetName, nebulaWidth, nebulaHeight, true);
    camera.eye = glm::vec3(0.0f);
    camera.target = glm::vec3(0.0f, 0.0f, 100.0f);
    drone_mesh = gGraphicsFactory->Load3DObject("drone", "Redwood");
    haloball_mesh = gGraphicsFactory->Load3DObject("HaloBall", "Redwood");
    bball_mesh = gGraphicsFactory->Load3DObject("bball", "Flat");
    cinematic_chosen_tick = -1;
    const int32_t beams = AppData::GetInt("render-distance-beams");
    beam_draw_distance = beams > 0 ? beams : kDefaultBeamDrawDistance;
}

void Render3D::ReleaseMeshes()
{
    for (auto& [name, mesh] : body_meshes)
        mesh.reset();
    drone_mesh.reset();
    haloball_mesh.reset();
    bball_mesh.reset();
    volumes.reset();
    gas_giant.reset();
    if (effects)
        effects->Clear();
    ReleaseEffects();
}

// The new simulation gives its objects the old one's ids again: nothing kept
// by id may carry over to them.
void Render3D::ClearEffects()
{
    for (auto& [name, mesh] : body_meshes)
        mesh.reset();
    failed_body_meshes.clear();
    if (volumes)
        volumes->Clear();
    owner.objectEffectRecords.clear();
    boltsBegun.clear();
    owner.planetParams.clear();
    owner.nebulaParams.clear();
    if (effects)
        effects->Clear();
}

IntRect Render3D::CropToRect(int32_t width, int32_t height, const IntRect& rect)
{
    IntRect source{0, 0, width, height};
    FitRectToAspect(source, rect);
    return source;
}

void Render3D::Draw(const IntRect& rect, bool full)
{
    UIContext& ui = owner.UI();
    if (!main_target || !gGraphicsFactory || !theSimulation || !theSimulation->Container())
        return;
    if (owner.main_screen_view == "no_draw" && owner.cam_mode == "cinematic")
        return;
    SpaceObject* ship = FindSpaceObject(theSimulation->subjectID);
    UpdateCamera(ship);
    const glm::mat4 view = camera.matrix;
    const glm::vec3 direction = ViewDirection();
    view_frustum.Build(camera.eye, direction, view, kFieldOfView,
                       static_cast<float>(main_target->GetWidth()) / static_cast<float>(main_target->GetHeight()),
                       kNearPlane, kFrustumFar);
    if (effects)
        effects->DrawEffectEvents(*this);
    if (ship)
        QueueOwnShipReticles(*ship);

    // The depth is cleared once a frame, here, so the first frame finds it
    // cleared too. The sky, when it draws, covers every pixel: only a view
    // without one needs its colour cleared.
    const float clear[4] = {0.0f, 0.0f, 0.0f, 0.0f};
    gGraphicsFactory->Flush2D();
    main_target->SetAsRenderTarget(true, false, clear);
    gGraphicsFactory->Flush2DAndClearDepth(main_target);
    // A sky still loading behind the start screen is wanted now.
    SkyBoxManager* sky = owner.SkyBox();
    if (sky)
        sky->FinishLoading();
    const bool opaque = sky && sky->Draw(view);
    if (!opaque)
        main_target->SetAsRenderTarget(true, true, clear);
    // A software renderer fills the sky on its own threads meanwhile: the
    // objects' draws take the main thread a while to prepare.
    gGraphicsFactory->SubmitDrawing();
    if (QelDrawProcess* phong = gGraphicsFactory->GetShader("Phong"))
        phong->SetParameter("lightDir", -1.0f, 0.0f, 0.0f, 0.0f);
    owner.SetRedwoodConstants(camera.eye, direction);
    if (QelDrawProcess* redwood = gGraphicsFactory->GetShader("Redwood"))
        for (int slot = 0; slot < RedwoodPointLight::kSlots; ++slot) {
            spot_lights[static_cast<size_t>(slot)].radius = 0.0f;
            spot_lights[static_cast<size_t>(slot)].Apply(redwood, slot);
        }

    shieldedShips.clear();
    DrawObjects(ship, view);
    if (QelDrawProcess* redwood = gGraphicsFactory->GetShader("Redwood"))
        redwood->SetParameter("glowMult", 1.0f, 0.0f, 0.0f, 0.0f);  // blinking is the 3D view's alone
    DrawShieldRipples(view);
    if (effects)
        effects->DrawParticles(view);
    DrawNavRing(ship, view);
    if (owner.cam_mode != "cinematic") {
        const TextSurfaceScope offScreen(ui, kViewSurface);
        DrawReticleQueue(rect);
    }
    reticle_queue.clear();
    gGraphicsFactory->Flush2D();
    DrawPlanets(view);
    main_target->SetAsRenderTarget(false, false, clear);

    // The volumes march up to the scene's depth, so ships inside a nebula
    // stand in front of its far side.
    // A frame with no nebula in view has no clouds to march or lay over the
    // picture.
    const bool volumesShown = full && nebula_target && soft_nebula_target && volumes && volumes->Count() > 0;
    if (volumesShown) {
        nebula_target->SetAsRenderTarget(true, true, clear);
        gGraphicsFactory->Flush2DAndClearDepth(nebula_target);
    }
    DrawVolumes(view, volumesShown);
    if (volumesShown)
        nebula_target->SetAsRenderTarget(false, false, clear);
    gGraphicsFactory->Flush2D();
    CompositeScene(rect, volumesShown, opaque);
    if (full && ship && owner.cam_mode != "cinematic")
        DrawHeadingOverlay(*ship, rect);
}

// One box query of the world around the ship, then the distance limits of
// each class of object; planets, black holes and maelstroms only need to be
// inside the box.
void Render3D::DrawObjects(SpaceObject* ship, const glm::mat4& view)
{
    const float large = AppData::GetFloat("render-distance-large-objects");
    const PlaneBox square = ship ? PlaneBox::Around(ship->pos.x, ship->pos.z, large) : PlaneBox{0.0f, 0.0f, 1.0f, 1.0f};
    const DistanceLimits limits{Squared(AppData::GetInt("render-distance-objects")),
                                Squared(AppData::GetInt("render-distance-nebulae")),
                                Squared(AppData::GetInt("render-distance-asteroids"))};
    SuperContainer& world = *theSimulation->Container();
    world.Query(square);
    for (SuperContainerObject* found : world.QueryResults()) {
        SpaceObject& object = static_cast<SpaceObject&>(*found);
        if (Culled(object, ship, limits))
            continue;
        switch (KindOf(object)) {
        case ObjectKind::Drone:
            DrawDrone(object, view);
            break;
        case ObjectKind::Nebula:
            AddNebulaVolume(object);
            break;
        case ObjectKind::BlackHole:
            DrawBlackHole(object, view);
            break;
        case ObjectKind::Planet:
            AddPlanet(object);
            break;
        case ObjectKind::Monster:
            if (effects)
                effects->DrawMonster(*this, object);
            DrawMonsterBodies(object);
            if (ship)
                QueueNameTag(object, *ship);
            break;
        case ObjectKind::Ship:
            DrawShip(object, ship, view);
            break;
        case ObjectKind::Invisible:
        case ObjectKind::Nothing:
            break;
        }
    }
}

// Squared distances against squared limits: an object exactly at the limit
// is drawn. Without a ship nothing is culled by distance.
bool Render3D::Culled(const SpaceObject& object, const SpaceObject* ship, const DistanceLimits& limits) const
{
    if (!ship)
        return false;
    const glm::vec3 apart = object.pos - ship->pos;
    const double squared = static_cast<double>(apart.x) * apart.x + static_cast<double>(apart.y) * apart.y +
                           static_cast<double>(apart.z) * apart.z;
    const std::string& key = object.data_tag;
    if (key == "nebula")
        return squared > static_cast<double>(limits.nebulae);
    if (object.tick_type == "behav_asteroid")
        return squared > static_cast<double>(limits.asteroids);
    if (key == "planet" || key == "blackhole" || key == "maelstrom")
        return false;
    return squared > static_cast<double>(limits.objects);
}

// The type's mesh, lit, turned and scaled as its record and its own
// coefficients say. The own ship is not drawn from inside it.
void Render3D::DrawShip(SpaceObject& object, SpaceObject* ship, const glm::mat4& view)
{
    ObjectTypeDrawData* drawData = owner.GetObjectTypeDrawData(object.data_tag);
    const glm::mat4 world = ShipMatrix(object);
    owner.objectEffectRecords[object.uniqueID].drawMatrix = world;
    if (&object == ship && owner.cam_mode == "first_person")
        return;
    // The ship's side sees the names of what it has scanned, stations and
    // other static objects aside.
    if (ship && &object != ship && !object.IsStatic() && ScannedBySide(object, *ship, std::string(kScan.name)))
        QueueNameTag(object, *ship);
    if (!drawData->mesh)
        return;
    ApplyLights(object.uniqueID);
    if (QelDrawProcess* redwood = gGraphicsFactory->GetShader("Redwood"))
        redwood->SetParameter("glowMult", GlowOf(object.blink_state, theSimulation->TickCount()), 0.0f, 0.0f, 0.0f);
    drawData->mesh->Draw(world, view, nullptr, "Redwood");
    if (drawData->pointSandwich)
        shieldedShips.emplace_back(object.uniqueID, drawData);
}

glm::mat4 Render3D::ShipMatrix(const SpaceObject& object)
{
    const ShipDataRecord* record = ShipData::Instance().Find(object.data_tag);
    const float meshScale = record ? record->meshScale : 1.0f;
    const float meshRotate = record ? record->meshRotate : 0.0f;
    const float scale = AppData::GetFloat("space-object-size-coeff") * meshScale * ScaleCoefficient(object, kLocalScale);
    const glm::vec3 axes(ScaleCoefficient(object, kLocalScaleX), ScaleCoefficient(object, kLocalScaleY),
                         ScaleCoefficient(object, kLocalScaleZ));
    return glm::scale(glm::rotate(glm::translate(glm::mat4(1.0f), object.pos) * glm::mat4_cast(object.rot_quat),
                                  meshRotate * kQuarterTurn, glm::vec3(0, 1, 0)),
                      scale * axes);
}

void Render3D::DrawDrone(SpaceObject& object, const glm::mat4& view)
{
    const float spin = static_cast<float>(theSimulation->TickCount()) / kDroneTicksPerRadian;
    const glm::mat4 world = glm::rotate(glm::scale(glm::translate(glm::mat4(1.0f), object.pos) *
                                                       glm::mat4_cast(object.rot_quat),
                                                   glm::vec3(kDroneScale)),
                                        spin, glm::vec3(0, 0, 1));
    owner.objectEffectRecords[object.uniqueID].drawMatrix = world;
    ApplyLights(object.uniqueID);
    if (drone_mesh)
        drone_mesh->Draw(world, view, nullptr, "Redwood");
}

// A black ball of the object's exclusion radius in its funnel of gas.
void Render3D::DrawBlackHole(SpaceObject& object, const glm::mat4& view)
{
    const glm::mat4 world =
        glm::scale(glm::translate(glm::mat4(1.0f), object.pos), glm::vec3(object.exclusion_radius));
    owner.objectEffectRecords[object.uniqueID].drawMatrix = world;
    QelDrawProcess* flat = gGraphicsFactory->GetShader("Flat");
    if (!flat || !bball_mesh)
        return;
    flat->SetParameter("additive", 0.0f, 0.0f, 0.0f, 0.0f);
    flat->SetParameter("depth", 1.0f, 0.0f, 0.0f, 0.0f);
    bball_mesh->Draw(world, view, nullptr, "Flat");
    DrawGasRings(object, view);
}

// The object's lights of this frame go to the lit shader's slots (free ones
// as radius 0) and are freed: a light lasts one frame.
void Render3D::ApplyLights(uint64_t objectId)
{
    QelDrawProcess* redwood = gGraphicsFactory->GetShader("Redwood");
    ObjectEffectState& state = owner.objectEffectRecords[objectId];
    for (int slot = 0; slot < RedwoodPointLight::kSlots; ++slot) {
        RedwoodPointLight& light = state.lights[static_cast<size_t>(slot)];
        light.radius = std::max(light.radius, 0.0f);
        if (redwood)
            light.Apply(redwood, slot);
        light.radius = 0.0f;
    }
}

// Each ripple a beam left on a shielded ship spreads over its hull shell as
// a band growing from where it hit and fading as it goes; one past its end
// frees its slot.
void Render3D::DrawShieldRipples(const glm::mat4& view)
{
    const int64_t now = theSimulation->TickCount();
    for (const auto& [id, drawData] : shieldedShips) {
        ObjectEffectState& state = owner.objectEffectRecords[id];
        for (int slot = 0; slot < ObjectEffectState::kRipples; ++slot) {
            int64_t& start = state.rippleStart[static_cast<size_t>(slot)];
            const int64_t end = state.rippleEnd[static_cast<size_t>(slot)];
            if (start == 0)
                continue;
            if (end < now) {
                start = 0;
                continue;
            }
            if (end <= start)
                continue;  // no time to spread in
            const float progress = static_cast<float>(static_cast<int32_t>(now - start)) /
                                   static_cast<float>(static_cast<int32_t>(end - start));
            PointSandwich& shell = *drawData->pointSandwich;
            shell.centerPoint = glm::vec3(state.drawMatrix * glm::vec4(state.rippleOffset[static_cast<size_t>(slot)], 1));
            shell.minMax = glm::vec2(kRippleBandSpeed * progress, kRippleBandSpeed * progress + kRippleBandWidth);
            glm::vec4 colour = state.rippleColour[static_cast<size_t>(slot)];
            colour.a = 1.0f - progress;
            shell.Draw(state.drawMatrix, view, colour);
        }
    }
}

// The marched nebulae softened at their own size into the second nebula
// target, so that the screen-sized copy reads them once a pixel. Added onto
// the cleared target, the softened pixels arrive as they are.
void Render3D::SoftenVolumes()
{
    const float clear[4] = {0.0f, 0.0f, 0.0f, 0.0f};
    soft_nebula_target->SetAsRenderTarget(true, true, clear);
    gGraphicsFactory->Flush2DAndClearDepth(soft_nebula_target);
    const QelRect whole{0, 0, nebula_target->GetWidth(), nebula_target->GetHeight()};
    nebula_target->SetDrawProcess(gGraphicsFactory->GetShader("VolumePostProcess"), true, false);
    nebula_target->SetSourceRectInt(whole);
    nebula_target->SetDestRectInt(whole);
    const float white[4] = {1.0f, 1.0f, 1.0f, 1.0f};
    nebula_target->DrawQuad(white, kCompositeLayer, true);
    gGraphicsFactory->Flush2D();
    soft_nebula_target->SetAsRenderTarget(false, false, clear);
}

// The picture into the rectangle, with the nebulae, when shown, softened
// and laid over it. A picture the sky covers replaces what was there, so the
// graphics copy it as it is, when they can, and the nebulae are softened as
// they are blended over it. Otherwise the picture is blended over the
// screen, with the nebulae softened beforehand and laid over it in the same
// pass: it shows what a copy of the picture and a copy of the nebulae over
// it would, filling the screen once.
void Render3D::CompositeScene(const IntRect& rect, bool volumesShown, bool opaque)
{
    if (opaque && CopyToRect(*main_target, rect)) {
        if (volumesShown)
            OverlayVolumes(rect);
        return;
    }
    if (!volumesShown) {
        Composite(*main_target, rect, nullptr);
        return;
    }
    SoftenVolumes();
    QelDrawProcess* combined = gGraphicsFactory->GetShader(kSceneVolumeShader);
    combined->bitmap2DList = {soft_nebula_target};
    Composite(*main_target, rect, kSceneVolumeShader);
    combined->bitmap2DList.clear();
}

// Only the part of the nebulae their clouds can cover is softened and laid
// over the copied picture, where the copy put those pixels: with a few
// texels more, for the softening's and the enlargement's reach. Softening
// on the way saves a pass over the nebula target, and the wait for it.
void Render3D::OverlayVolumes(const IntRect& rect)
{
    const IntRect crop = CropToRect(main_target->GetWidth(), main_target->GetHeight(), rect);
    if (!rect.IsOpen() || !crop.IsOpen())
        return;
    // Main target pixels a nebula texel spans, each way.
    const glm::vec2 texel = glm::vec2(main_target->GetWidth(), main_target->GetHeight()) /
                            glm::vec2(nebula_target->GetWidth(), nebula_target->GetHeight());
    const glm::vec2 cropLow(crop.left, crop.top);
    const glm::vec2 low = glm::max(glm::vec2(volume_bounds.left, volume_bounds.top) - kVolumeReach * texel, cropLow);
    const glm::vec2 high =
        glm::min(glm::vec2(volume_bounds.right, volume_bounds.bottom) + kVolumeReach * texel,
                 glm::vec2(crop.right, crop.bottom));
    if (!(low.x < high.x && low.y < high.y))
        return;
    const glm::vec2 scale = glm::vec2(rect.Width(), rect.Height()) / glm::vec2(crop.Width(), crop.Height());
    const glm::vec2 destLow = glm::vec2(rect.left, rect.top) + (low - cropLow) * scale;
    const glm::vec2 destHigh = glm::vec2(rect.left, rect.top) + (high - cropLow) * scale;
    nebula_target->SetDrawProcess(gGraphicsFactory->GetShader("VolumePostProcess"), true, false);
    nebula_target->SetSourceRect(low.x / texel.x, low.y / texel.y, high.x / texel.x, high.y / texel.y);
    nebula_target->SetDestRect(destLow.x, destLow.y, destHigh.x, destHigh.y);
    const float white[4] = {1.0f, 1.0f, 1.0f, 1.0f};
    nebula_target->DrawQuad(white, kCompositeLayer, false);
    gGraphicsFactory->Flush2D();
}

bool Render3D::CopyToRect(Qel2dBitmap& source, const IntRect& rect)
{
    if (!rect.IsOpen())
        return true;
    const IntRect crop = CropToRect(source.GetWidth(), source.GetHeight(), rect);
    return gGraphicsFactory->CopyToScreen(source, QelRect{crop.left, crop.top, crop.right, crop.bottom},
                                          QelRect{rect.left, rect.top, rect.right, rect.bottom});
}

// The source copied into the rectangle, cut to its shape about the centre.
// A copy at the source's own size reads each pixel's texel as it is; only a
// stretched copy pays for filtering.
void Render3D::Composite(Qel2dBitmap& source, const IntRect& rect, const char* shader)
{
    if (!rect.IsOpen())
        return;
    const IntRect crop = CropToRect(source.GetWidth(), source.GetHeight(), rect);
    const bool stretched = crop.right - crop.left != rect.right - rect.left ||
                           crop.bottom - crop.top != rect.bottom - rect.top;
    source.SetDrawProcess(gGraphicsFactory->GetShader(shader ? shader : "2DNormal"), stretched, false);
    source.SetSourceRectInt(QelRect{crop.left, crop.top, crop.right, crop.bottom});
    source.SetDestRectInt(QelRect{rect.left, rect.top, rect.right, rect.bottom});
    const float white[4] = {1.0f, 1.0f, 1.0f, 1.0f};
    source.DrawQuad(white, kCompositeLayer, false);
    gGraphicsFactory->Flush2D();
}
