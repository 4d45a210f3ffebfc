#include "game/render/SkyBoxManager.h"

#include "engine/base/QelGraphicsFactoryBase.h"

#include <glm/vec3.hpp>

SkyBoxManager* theSkyBox = nullptr;

namespace {

// A face: its cell of the texture cross, its outward normal, and the
// directions in which the cell's u and v grow across it. The sky generator
// draws every pixel from this same table.
struct SkyFace {
    int column, row;
    glm::vec3 normal, right, down;
};
constexpr SkyFace kFaces[6] = {
    {1, 1, {0, 1, 0}, {1, 0, 0}, {0, 0, 1}},    // y = +50
    {3, 1, {0, -1, 0}, {-1, 0, 0}, {0, 0, 1}},  // y = -50
    {2, 1, {1, 0, 0}, {0, -1, 0}, {0, 0, 1}},   // x = +50
    {0, 1, {-1, 0, 0}, {0, 1, 0}, {0, 0, 1}},   // x = -50
    {1, 0, {0, 0, -1}, {1, 0, 0}, {0, 1, 0}},   // z = -50
    {1, 2, {0, 0, 1}, {1, 0, 0}, {0, -1, 0}},   // z = +50
};
constexpr float kColumns = 4.0f;
constexpr float kRows = 3.0f;
// Each face's corners sit this far inside its cell, so sampling never picks
// up the next cell along an edge.
constexpr float kInsetU = 1.0f / 4096.0f;
constexpr float kInsetV = 1.0f / 3000.0f;

}  // namespace

SkyBoxManager::SkyBoxManager()
{
    Build();
}

SkyBoxManager::~SkyBoxManager() = default;

void SkyBoxManager::Build()
{
    if (!gGraphicsFactory)
        return;
    shader = gGraphicsFactory->GetShader(kShaderName);
    indices = gGraphicsFactory->GetIndexList(kIndexListName, kIndexCount);
    vertices = gGraphicsFactory->GetVertList(kVertexListName, kVertexCount, false);
    if (!indices || !vertices)
        return;
    for (int face = 0; face < 6; ++face) {
        const SkyFace& f = kFaces[face];
        // Corners top-left, top-right, bottom-right, bottom-left of the cell.
        const float across[4] = {-1, 1, 1, -1};
        const float along[4] = {-1, -1, 1, 1};
        const float u0 = f.column / kColumns + kInsetU, u1 = (f.column + 1) / kColumns - kInsetU;
        const float v0 = f.row / kRows + kInsetV, v1 = (f.row + 1) / kRows - kInsetV;
        const float us[4] = {u0, u1, u1, u0};
        const float vs[4] = {v0, v0, v1, v1};
        for (int corner = 0; corner < 4; ++corner) {
            const int index = face * 4 + corner;
            const glm::vec3 p = (f.normal + across[corner] * f.right + along[corner] * f.down) * kHalfSize;
            vertices->SetPosition(index, p.x, p.y, p.z);
            vertices->SetVector(index, 0, f.normal.x, f.normal.y, f.normal.z);
            vertices->SetTexCoord(index, 0, us[corner], vs[corner]);
        }
        const uint32_t first = static_cast<uint32_t>(face * 4);
        const uint32_t triangles[6] = {first, first + 1, first + 2, first + 2, first + 3, first};
        for (int i = 0; i < 6; ++i)
            indices->SetIndex(face * 6 + i, triangles[i]);
    }
}

bool SkyBoxManager::Draw(const glm::mat4& view)
{
    if (!shader || !texture || !vertices || !indices)
        return false;
    shader->bitmap2DList = {texture};
    shader->vertList = {vertices};
    shader->indexList = {indices};
    shader->instanceList.clear();
    shader->Draw3D(glm::mat4(1.0f), view, nullptr, 0, 0);
    return true;
}

void SkyBoxManager::SetTexture(const std::string& name)
{
    ReleaseTexture();
    textureName = name;
    texture = LoadTexture(name);
    if (!texture) {
        textureName = kDefaultTexture;
        texture = LoadTexture(kDefaultTexture);
    }
}

// A bitmap someone else loaded before (the interface's white, a portrait)
// stays: deleting it would pull it from under its owner.
Qel2dBitmap* SkyBoxManager::LoadTexture(const std::string& name)
{
    if (!gGraphicsFactory)
        return nullptr;
    ownsTexture = gGraphicsFactory->Find2DBitmap(name) == nullptr;
    Qel2dBitmap* loaded = gGraphicsFactory->Load2DBitmap(name);
    if (!loaded)
        ownsTexture = false;
    return loaded;
}

void SkyBoxManager::ReleaseTexture()
{
    if (gGraphicsFactory && ownsTexture && !textureName.empty())
        gGraphicsFactory->Delete2DBitmap(textureName);
    texture = nullptr;
    ownsTexture = false;
}
