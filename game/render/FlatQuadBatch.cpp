#include "game/render/FlatQuadBatch.h"

#include "engine/base/QelGraphicsFactoryBase.h"
#include "game/render/FlatShape.h"

#include <map>

namespace {

// The number of the next batch with the prefix.
int32_t NextListNumber(const std::string& prefix)
{
    static std::map<std::string, int32_t> batches;
    return batches[prefix]++;
}

}  // namespace

void FlatQuadBatch::Setup(const std::string& listPrefix, const std::string& textureName)
{
    count = 0;
    if (!gGraphicsFactory)
        return;
    const std::string number = std::to_string(NextListNumber(listPrefix));
    shader = gGraphicsFactory->GetShader("Flat");
    vertices = gGraphicsFactory->GetVertList(listPrefix + "-vertex_" + number, kCapacity * 4, false);
    indices = gGraphicsFactory->GetIndexList(listPrefix + "-index_" + number, kCapacity * 6);
    texture = gGraphicsFactory->LoadTexture(textureName);
}

bool FlatQuadBatch::Add(const std::array<glm::vec3, 4>& corners, const std::array<glm::vec2, 4>& uv,
                        const std::array<glm::vec4, 4>& colours, const glm::vec3& normal)
{
    if (count >= kCapacity)
        return false;
    if (vertices && indices) {
        const int32_t first = count * 4;
        for (size_t k = 0; k < 4; ++k)
            vertices->SetVertex(first + static_cast<int32_t>(k), ShapeVertex(corners[k], normal, uv[k], colours[k]));
        for (int32_t k = 0; k < 6; ++k)
            indices->SetIndex(count * 6 + k, static_cast<uint32_t>(first) + kQuadTriangles[k]);
    }
    ++count;
    return true;
}

void FlatQuadBatch::Draw(const glm::mat4& view)
{
    if (count < 1 || !shader || !texture)
        return;
    BindFlatLists(*shader, texture, vertices, indices);
    shader->Draw3D(glm::mat4(1.0f), view, nullptr, 2 * count, 0);
}
