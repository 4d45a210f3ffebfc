// The bodies of the 3D view that are not ships: gas giant planets, nebula
// volumes and the layered spinning bodies of objects such as the monster.

#include "game/render/manager/Render3D.h"

#include "engine/base/QEL3DObject.h"
#include "engine/base/QelGraphicsFactoryBase.h"
#include "game/behaviours/MonsterKeys.h"
#include "game/render/manager/QelGasGiant.h"
#include "game/render/manager/QelVolumeManager.h"
#include "game/render/manager/RenderManager.h"
#include "game/world/DataKey.h"
#include "game/world/Simulation.h"
#include "helper/ColorParse.h"

#include <glm/gtc/matrix_transform.hpp>

namespace {

// A nebula a mission gave no look of its own: a grey glow of this size and
// thickness over the seeded colours.
constexpr float kSeededNebulaEmission = 0.8f;
constexpr float kSeededNebulaRadius = 1000.0f;
constexpr float kSeededNebulaDensity = 15.0f;

// A body is five layers of its mesh, each turned a little further, spinning
// a radian every 40 ticks, at this share of its size coefficient.
constexpr int kBodyLayers = 5;
constexpr float kBodyTicksPerRadian = 40.0f;
constexpr float kBodyScale = 0.4f;
constexpr float kBodyYTurn = 3.334f;
// The monster's two bodies start their turns this far apart.
constexpr int32_t kFirstBodyPhase = 0;
constexpr int32_t kSecondBodyPhase = 1;

constexpr const char* kBodyShader = "Phong";
// The bitmap stands for every texture a draw unit names.
constexpr size_t kBodyTextures = 4;
constexpr const char* kWhiteTexture = "smallWhite";

}  // namespace

void Render3D::AddPlanet(const SpaceObject& planet)
{
    if (gas_giant)
        gas_giant->AddInstance(planet.pos, owner.UpdatePlanetParameters(planet));
}

// The seed is the low half of the object's id, so every console sees the
// same cloud; the mission's values then override what it sets.
void Render3D::AddNebulaVolume(const SpaceObject& nebula)
{
    if (!volumes)
        return;
    NebulaVolumeParams& record = owner.nebulaParams[nebula.uniqueID];
    if (record.randomSeed == 0) {
        record = volumes->RandomizeParameters(static_cast<int32_t>(static_cast<uint32_t>(nebula.uniqueID)));
        for (float& channel : record.emission)
            channel = kSeededNebulaEmission;
        record.radius = kSeededNebulaRadius;
        record.density = kSeededNebulaDensity;
    }
    volumes->AddVolume(nebula.pos, owner.UpdateNebulaParameters(nebula));
}

void Render3D::DrawPlanets(const glm::mat4& view)
{
    if (gas_giant)
        gas_giant->Draw(view, glm::vec4(-camera.eye, 1.0f), glm::vec4(ViewDirection(), 0.0f));
}

void Render3D::DrawVolumes(const glm::mat4& view, bool draw)
{
    if (!volumes)
        return;
    if (draw && main_target) {
        const glm::mat4 projection = glm::transpose(gGraphicsFactory->GetProjectionMatrix());
        volume_bounds = volumes->ScreenBounds(view, projection, main_target->GetWidth(), main_target->GetHeight());
        volumes->Draw(view, glm::vec4(camera.eye, 1.0f), glm::vec4(ViewDirection(), 0.0f), main_target,
                      owner.nebulaBuffSizeDiv);
    } else {
        volumes->Clear();
    }
}

void Render3D::DrawMonsterBodies(SpaceObject& monster)
{
    const ObjectDataBlob& values = monster.data_set;
    DrawObjectBody(monster, ReadString(values, monster::kBody1Geom), ReadString(values, monster::kBody1Bitmap),
                   ReadString(values, monster::kBody1Color), ReadFloat(values, monster::kBody1Size), kFirstBodyPhase);
    DrawObjectBody(monster, ReadString(values, monster::kBody2Geom), ReadString(values, monster::kBody2Bitmap),
                   ReadString(values, monster::kBody2Color), ReadFloat(values, monster::kBody2Size), kSecondBodyPhase);
}

// A mesh that does not load is remembered, so a mission's bad name costs one
// log line, not a file search every frame; names that would leave the data
// folder are refused by the loaders.
void Render3D::DrawObjectBody(SpaceObject& object, const std::string& meshFile, const std::string& bitmap,
                              const std::string& colour, float sizeCoeff, int32_t phase)
{
    if (!gGraphicsFactory || !theSimulation || meshFile.empty() || failed_body_meshes.count(meshFile) != 0)
        return;
    QelDrawProcess* phong = gGraphicsFactory->GetShader(kBodyShader);
    std::unique_ptr<QEL3DObject>& mesh = body_meshes[meshFile];
    if (!mesh)
        mesh = gGraphicsFactory->Load3DObject(meshFile, kBodyShader);
    if (!mesh || !phong) {
        failed_body_meshes.insert(meshFile);
        return;
    }
    gGraphicsFactory->LoadTexture(bitmap);
    const std::string texture = gGraphicsFactory->Find2DBitmap(bitmap) ? bitmap : kWhiteTexture;
    for (QEL3DDrawUnit& unit : mesh->units)
        if (unit.textureNames.size() != kBodyTextures || unit.textureNames.front() != texture)
            unit.textureNames.assign(kBodyTextures, texture);
    glm::vec4 tint;
    ParseColor(tint, colour);
    phong->SetParameter("ambientColor", tint.r, tint.g, tint.b, tint.a);

    const float t = static_cast<float>(theSimulation->TickCount()) / kBodyTicksPerRadian;
    const float scale = sizeCoeff * kBodyScale;
    glm::mat4& drawn = owner.objectEffectRecords[object.uniqueID].drawMatrix;
    for (int k = 1; k <= kBodyLayers; ++k) {
        const float p = static_cast<float>(phase + 2 * k);
        glm::mat4 world = glm::translate(glm::mat4(1.0f), object.pos);
        world = glm::rotate(world, p + t, glm::vec3(0, 0, 1));
        world = glm::rotate(world, p * kBodyYTurn + t, glm::vec3(0, 1, 0));
        drawn = glm::scale(world, glm::vec3(scale));
        mesh->Draw(drawn, camera.matrix, nullptr, kBodyShader);
    }
}
