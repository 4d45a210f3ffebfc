// The hyper-warp screen: one ship type alone in the dark, the camera
// swinging about it, a coloured spot light sweeping past from bow to stern
// again and again, while streaks rush by and the engines and hull spark.

#include "game/render/manager/Render3D.h"

#include "engine/base/QEL3DObject.h"
#include "engine/base/QelGraphicsFactoryBase.h"
#include "game/render/Particle3DSSManager.h"
#include "game/render/manager/RenderManager.h"
#include "game/world/ShipData.h"
#include "helper/CRand.h"

#include <glm/gtc/matrix_transform.hpp>

#include <algorithm>
#include <cmath>

namespace {

// The spot light runs from z = +1000 to -1000 at 10 a tick, then starts
// again somewhere in a 200-wide square with a new colour.
constexpr float kSpotStart = 1000.0f;
constexpr float kSpotEnd = -1000.0f;
constexpr float kSpotSpeed = 10.0f;
constexpr float kSpotSpread = 200.0f;
constexpr float kSpotColourBase = 0.6f;
constexpr float kSpotColourSpread = 4.0f;
constexpr float kSpotRadius = 500.0f;

// The camera swings about the ship: up and down over 133 ticks a radian,
// from one of three sides for 400 ticks each.
constexpr float kSwingHeight = 40.0f;
constexpr float kSwingHeightTicks = 133.0f;
constexpr float kSwingReach = 150.0f;
constexpr float kSwingTicks = 100.0f;
constexpr float kSideOffset = 100.0f;
constexpr uint64_t kTicksPerSide = 400;

// Streaks rush past from a 1000-wide square ahead, 60 a tick, for 55 ticks.
constexpr float kStreakSpread = 1000.0f;
constexpr float kStreakStart = 1000.0f;
constexpr glm::vec3 kStreakVelocity{0.0f, 0.0f, -60.0f};
constexpr float kStreakSize = 10.0f;
constexpr int32_t kStreakLifetime = 55;
constexpr int32_t kStreakCell = 10;
// A faint mote marks the spot light for two ticks.
constexpr glm::vec4 kSpotMoteColour{0.1f, 0.1f, 0.1f, 0.1f};
constexpr float kSpotMoteSize = 10.0f;
constexpr int32_t kSpotMoteLifetime = 2;
// Each engine port: a flickering flame just inside it, and a short trail
// from the port and from 10 behind it.
constexpr float kFlameDepth = 0.9f;
constexpr float kFlameJitter = 30.0f;
constexpr float kFlameSpeed = -30.0f;
constexpr float kFlameSize = 20.0f;
constexpr int32_t kFlameLifetime = 2;
constexpr glm::vec3 kTrailVelocity{0.0f, 0.0f, -20.0f};
constexpr glm::vec3 kTrailBehind{0.0f, 0.0f, -10.0f};
constexpr float kTrailSize = 8.0f;
constexpr int32_t kTrailLifetime = 20;
// A dark spark drifting off the front tenth of the hull, half again as far out.
constexpr float kSparkReach = 1.5f;
constexpr float kSparkJitter = 10.0f;
constexpr float kSparkSpeed = -20.0f;
constexpr float kSparkShade = 0.02f;
constexpr float kSparkSize = 40.0f;
constexpr int32_t kSparkLifetime = 55;
const glm::vec4 kWhite{1.0f};

// A number in 0..1 from the game's second random source.
float Random01()
{
    return static_cast<float>(crand()) / static_cast<float>(CRAND_MAX);
}

// A glow cell of the sheet, 4 to 7.
int32_t GlowCell()
{
    return static_cast<int32_t>(Random01() * 3.999f + 4.0f);
}

// The ship as its record places its mesh: turned and scaled.
glm::mat4 WarpShipMatrix(const ShipDataRecord& record)
{
    return glm::scale(glm::rotate(glm::mat4(1.0f), record.meshRotate * Render3D::kQuarterTurn, glm::vec3(0, 1, 0)),
                      glm::vec3(record.meshScale));
}

}  // namespace

// While the screen shows, another "on" keeps the ship that shows.
void Render3D::ShowHyperWarp(const std::string& shipKey)
{
    if (hyper_warp_on)
        return;
    hyper_warp_key = shipKey;
    hyper_warp_on = true;
    SetHyperWarpShip();
}

void Render3D::HideHyperWarp()
{
    hyper_warp_on = false;
}

// The outline is the new ship's alone: the points of a ship shown before
// are let go, or its sparks would float about the next one. The key comes
// from the mission or the network: only a hull the ship list defines shows
// (no stand-in hull, and no draw data made for a key that names nothing).
void Render3D::SetHyperWarpShip()
{
    const ShipDataRecord* record = ShipData::Instance().FindDefined(hyper_warp_key);
    ObjectTypeDrawData* drawData = record ? owner.GetObjectTypeDrawData(hyper_warp_key) : nullptr;
    if (!drawData || !drawData->mesh || drawData->mesh->units.empty())
        return;
    spot_pos = glm::vec3(0.0f);
    hyper_warp_points.clear();
    QelVertexList* vertices = drawData->mesh->units.front().Vertices();
    if (!vertices)
        return;
    const glm::mat4 ship = WarpShipMatrix(*record);
    for (int i = 0; i < vertices->GetCount(); ++i) {
        float x = 0, y = 0, z = 0;
        vertices->GetPosition(i, x, y, z);
        hyper_warp_points.emplace_back(ship * glm::vec4(x, y, z, 1.0f));
    }
    // Largest z first; points of equal z keep the mesh's order.
    std::stable_sort(hyper_warp_points.begin(), hyper_warp_points.end(),
                     [](const glm::vec3& a, const glm::vec3& b) { return a.z > b.z; });
}

void Render3D::DrawHyperWarp()
{
    const ShipDataRecord* record = ShipData::Instance().FindDefined(hyper_warp_key);
    ObjectTypeDrawData* drawData = record ? owner.GetObjectTypeDrawData(hyper_warp_key) : nullptr;
    if (!gGraphicsFactory || !drawData || !drawData->mesh)
        return;
    MoveHyperWarpSpot();
    const glm::mat4 ship = WarpShipMatrix(*record);
    const Camera kept = camera;
    const glm::mat4 view = PlaceHyperWarpCamera();
    LightHyperWarpShip();
    drawData->mesh->Draw(ship, view, nullptr, "Redwood");
    camera = kept;
    EmitHyperWarpParticles(*record, ship);
    if (hot_particles)
        hot_particles->Draw(view);
    if (smoke_particles)
        smoke_particles->Draw(view);
}

void Render3D::MoveHyperWarpSpot()
{
    const uint64_t ticks = effect_tick - hyper_warp_last_tick;
    hyper_warp_last_tick = effect_tick;
    spot_pos.z -= kSpotSpeed * static_cast<float>(ticks);
    if (spot_pos.z >= kSpotEnd)
        return;
    spot_pos.y = Random01() * kSpotSpread - kSpotSpread / 2;
    spot_pos.x = Random01() * kSpotSpread - kSpotSpread / 2;
    spot_pos.z = kSpotStart;
    spot_color.b = Random01() * kSpotColourSpread + kSpotColourBase;
    spot_color.g = Random01() * kSpotColourSpread + kSpotColourBase;
    spot_color.r = Random01() * kSpotColourSpread + kSpotColourBase;
    spot_color.a = 1.0f;
}

// The eye swings about the ship at the origin; the projection is the
// window's own.
glm::mat4 Render3D::PlaceHyperWarpCamera()
{
    const float t = static_cast<float>(effect_tick);
    glm::vec3 offset(0.0f, std::cos(t / kSwingHeightTicks) * kSwingHeight, 0.0f);
    const float swing = std::sin(t / kSwingTicks) * kSwingReach;
    switch ((effect_tick / kTicksPerSide) % 3) {
    case 0: offset.x = swing; offset.z = -kSideOffset; break;
    case 1: offset.x = -kSideOffset; offset.z = swing; break;
    default: offset.x = kSwingReach; offset.z = swing; break;
    }
    camera.eye = offset;
    camera.target = glm::vec3(0.0f);
    camera.matrix = camera.LookAt(camera.eye, camera.target);
    const float aspect = static_cast<float>(gGraphicsFactory->GetWidth()) /
                         static_cast<float>(std::max(gGraphicsFactory->GetHeight(), 1));
    gGraphicsFactory->SetPerspective(kFieldOfView, aspect, kNearPlane, kFarPlane);
    return camera.matrix;
}

// Only the sweeping spot lights the ship.
void Render3D::LightHyperWarpShip()
{
    owner.SetRedwoodConstants(camera.eye, ViewDirection());
    QelDrawProcess* redwood = gGraphicsFactory->GetShader("Redwood");
    if (!redwood)
        return;
    for (int slot = 0; slot < RedwoodPointLight::kSlots; ++slot)
        RedwoodPointLight{}.Apply(redwood, slot);
    RedwoodPointLight{glm::vec3(spot_color), spot_pos, kSpotRadius}.Apply(redwood, 0);
}

void Render3D::EmitHyperWarpParticles(const ShipDataRecord& record, const glm::mat4& ship)
{
    if (!hot_particles)
        return;
    Particle3DSSManager& hot = *hot_particles;
    const float x = Random01() * kStreakSpread - kStreakSpread / 2;
    const float y = Random01() * kStreakSpread - kStreakSpread / 2;
    const float c = Random01();
    const float c2 = Random01();
    hot.Add({x, y, kStreakStart}, kStreakVelocity, {c, 1.0f - c, c2, 1.0f}, kStreakSize, kStreakLifetime, kStreakCell);
    hot.Add(spot_pos, glm::vec3(0.0f), kSpotMoteColour, kSpotMoteSize, kSpotMoteLifetime, 0);

    for (const ShipExhaustPort& port : record.exhaustPorts) {
        const glm::vec3 flame(port.position.x, port.position.y, port.position.z * kFlameDepth);
        if (flame == glm::vec3(0.0f))
            continue;
        const float jitterX = Random01() * kFlameJitter - kFlameJitter / 2;
        const float jitterY = Random01() * kFlameJitter - kFlameJitter / 2;
        hot.Add(glm::vec3(ship * glm::vec4(flame, 1.0f)), {jitterX, jitterY, kFlameSpeed}, kWhite, kFlameSize,
                kFlameLifetime, GlowCell());
        const glm::vec3 at(ship * glm::vec4(port.position, 1.0f));
        hot.Add(at, kTrailVelocity, kWhite, kTrailSize, kTrailLifetime, GlowCell());
        hot.Add(at + kTrailBehind, kTrailVelocity, kWhite, kTrailSize, kTrailLifetime, GlowCell());
    }

    if (hyper_warp_points.empty())
        return;
    const size_t frontTenth = hyper_warp_points.size() / 10;
    const size_t index = std::min(static_cast<size_t>(Random01() * (static_cast<float>(frontTenth) + 0.999f)),
                                  hyper_warp_points.size() - 1);
    const float driftX = Random01() * kSparkJitter - kSparkJitter / 2;
    const float driftY = Random01() * kSparkJitter - kSparkJitter / 2;
    const float r = Random01() * kSparkShade;
    const float g = Random01() * kSparkShade;
    const float b = Random01() * kSparkShade;
    hot.Add(hyper_warp_points[index] * kSparkReach, {driftX, driftY, kSparkSpeed}, {r, g, b, 1.0f}, kSparkSize,
            kSparkLifetime, GlowCell());
}
