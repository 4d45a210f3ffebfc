// The hyper-warp screen: one ship type alone in the dark, the camera
// swinging about it, a coloured spot light sweeping past from bow to stern
// again and again, while streaks rush by and the engines and hull spark.

#include "game/render/manager/Render3D.h"

#include "engine/base/QEL3DObject.h"
#include "engine/base/QelGraphicsFactoryBase.h"
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

// A number in 0..1 from the game's second random source.
float Random01()
{
    return static_cast<float>(crand()) / static_cast<float>(CRAND_MAX);
}

// The ship as its record places its mesh: turned and scaled.
glm::mat4 ShipMatrix(const ShipDataRecord& record)
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
// are let go, or its sparks would float about the next one.
void Render3D::SetHyperWarpShip()
{
    const ShipDataRecord* record = ShipData::Instance().Find(hyper_warp_key);
    ObjectTypeDrawData* drawData = owner.GetObjectTypeDrawData(hyper_warp_key);
    if (!record || !drawData->mesh || drawData->mesh->units.empty())
        return;
    spot_pos = glm::vec3(0.0f);
    hyper_warp_points.clear();
    QelVertexList* vertices = drawData->mesh->units.front().Vertices();
    if (!vertices)
        return;
    const glm::mat4 ship = ShipMatrix(*record);
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
    const ShipDataRecord* record = ShipData::Instance().Find(hyper_warp_key);
    ObjectTypeDrawData* drawData = owner.GetObjectTypeDrawData(hyper_warp_key);
    if (!gGraphicsFactory || !record || !drawData->mesh)
        return;
    MoveHyperWarpSpot();
    const glm::mat4 ship = ShipMatrix(*record);
    const Camera kept = theCamera;
    const glm::mat4 view = PlaceHyperWarpCamera();
    LightHyperWarpShip();
    drawData->mesh->Draw(ship, view, nullptr, "Redwood");
    theCamera = kept;
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
    theCamera.eye = offset;
    theCamera.target = glm::vec3(0.0f);
    theCamera.matrix = theCamera.LookAt(theCamera.eye, theCamera.target);
    const float aspect = static_cast<float>(gGraphicsFactory->GetWidth()) /
                         static_cast<float>(std::max(gGraphicsFactory->GetHeight(), 1));
    gGraphicsFactory->SetPerspective(kFieldOfView, aspect, kNearPlane, kFarPlane);
    return theCamera.matrix;
}

// Only the sweeping spot lights the ship.
void Render3D::LightHyperWarpShip()
{
    owner.SetRedwoodConstants(theCamera.eye, ViewDirection());
    QelDrawProcess* redwood = gGraphicsFactory->GetShader("Redwood");
    if (!redwood)
        return;
    for (int slot = 0; slot < RedwoodPointLight::kSlots; ++slot)
        RedwoodPointLight{}.Apply(redwood, slot);
    RedwoodPointLight{glm::vec3(spot_color), spot_pos, kSpotRadius}.Apply(redwood, 0);
}
