#include "game/render/SkyBoxManager.h"

#include "engine/base/QelGraphicsFactoryBase.h"
#include "game/render/SkyFaces.h"

#include <glm/vec3.hpp>

namespace {

// A face: its outward normal, and the directions in which its cell's u and v
// grow across it, in the order of kSkyCrossCells. The sky generator draws
// every pixel from this same table.
struct SkyFace {
    glm::vec3 normal, right, down;
};
constexpr SkyFace kFaces[6] = {
    {{0, 1, 0}, {1, 0, 0}, {0, 0, 1}},    // y = +50
    {{0, -1, 0}, {-1, 0, 0}, {0, 0, 1}},  // y = -50
    {{1, 0, 0}, {0, -1, 0}, {0, 0, 1}},   // x = +50
    {{-1, 0, 0}, {0, 1, 0}, {0, 0, 1}},   // x = -50
    {{0, 0, -1}, {1, 0, 0}, {0, 1, 0}},   // z = -50
    {{0, 0, 1}, {1, 0, 0}, {0, -1, 0}},   // z = +50
};
// The faces the build draws are this many pixels square; a texture of
// another size corrects the corners when it arrives.
constexpr int kUsualFaceSide = 1024;

std::string FacesBitmapName(const std::string& name)
{
    return name + SkyBoxManager::kFacesSuffix;
}

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
        for (int corner = 0; corner < 4; ++corner) {
            const int index = face * 4 + corner;
            const glm::vec3 p = (f.normal + across[corner] * f.right + along[corner] * f.down) * kHalfSize;
            vertices->SetPosition(index, p.x, p.y, p.z);
            vertices->SetVector(index, 0, f.normal.x, f.normal.y, f.normal.z);
        }
        const uint32_t first = static_cast<uint32_t>(face * 4);
        const uint32_t triangles[6] = {first, first + 1, first + 2, first + 2, first + 3, first};
        for (int i = 0; i < 6; ++i)
            indices->SetIndex(face * 6 + i, triangles[i]);
    }
    if (texture)
        WriteTexCoords(texture->GetWidth(), texture->GetHeight());
    else
        WriteTexCoords(kUsualFaceSide * kSkyFacesColumns, kUsualFaceSide * kSkyFacesRows);
}

// Each face's corners sit a texel inside its cell of the faces picture, so
// sampling never picks up the next face along an edge.
void SkyBoxManager::WriteTexCoords(int width, int height)
{
    if (!vertices || width <= 0 || height <= 0)
        return;
    const float insetU = 1.0f / static_cast<float>(width);
    const float insetV = 1.0f / static_cast<float>(height);
    for (int face = 0; face < 6; ++face) {
        const float column = static_cast<float>(face % kSkyFacesColumns);
        const float row = static_cast<float>(face / kSkyFacesColumns);
        const float u0 = column / kSkyFacesColumns + insetU, u1 = (column + 1) / kSkyFacesColumns - insetU;
        const float v0 = row / kSkyFacesRows + insetV, v1 = (row + 1) / kSkyFacesRows - insetV;
        const float us[4] = {u0, u1, u1, u0};
        const float vs[4] = {v0, v0, v1, v1};
        for (int corner = 0; corner < 4; ++corner)
            vertices->SetTexCoord(face * 4 + corner, 0, us[corner], vs[corner]);
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
    BeginTexture(name);
    FinishLoading();
}

void SkyBoxManager::BeginTexture(const std::string& name)
{
    loader.reset();
    loadingName = name;
    if (!gGraphicsFactory)
        return;
    if (Qel2dBitmap* held = gGraphicsFactory->Find2DBitmap(FacesBitmapName(name))) {
        Install(name, held);
        return;
    }
    auto next = std::make_unique<SkyFacesLoader>();
    if (next->Begin(name)) {
        loader = std::move(next);
        return;
    }
    if (name != kDefaultTexture) {
        BeginTexture(kDefaultTexture);
        return;
    }
    ReleaseTexture();
    textureName = kDefaultTexture;
}

bool SkyBoxManager::ContinueLoading()
{
    if (!loader)
        return false;
    if (!loader->Step())
        return true;
    const std::unique_ptr<SkyFacesLoader> done = std::move(loader);
    if (!done->Failed()) {
        Install(loadingName, gGraphicsFactory->Adopt2DImage(FacesBitmapName(loadingName), std::move(done->Faces())));
        return false;
    }
    if (loadingName != kDefaultTexture) {
        BeginTexture(kDefaultTexture);
        return Loading();
    }
    ReleaseTexture();
    textureName = kDefaultTexture;
    return false;
}

void SkyBoxManager::FinishLoading()
{
    while (ContinueLoading()) {
    }
}

void SkyBoxManager::Install(const std::string& name, Qel2dBitmap* faces)
{
    if (faces != texture)
        ReleaseTexture();
    texture = faces;
    textureName = name;
    WriteTexCoords(faces->GetWidth(), faces->GetHeight());
}

// The default sky is kept for the next time it is wanted; any other goes.
void SkyBoxManager::ReleaseTexture()
{
    if (gGraphicsFactory && texture && textureName != kDefaultTexture)
        gGraphicsFactory->Delete2DBitmap(FacesBitmapName(textureName));
    texture = nullptr;
}
