#include "game/render/GenericBox.h"

#include "engine/base/QelGraphicsFactoryBase.h"
#include "game/render/FlatShape.h"

#include <glm/geometric.hpp>

namespace {

constexpr float kUnusedPairs = 5.0f;
constexpr glm::vec2 kFaceUv[4] = {{0, 0}, {0, 1}, {1, 1}, {1, 0}};

// The unit cube's faces, each corner by corner.
constexpr glm::vec3 kCubeFaces[GenericBox::kFaces][4] = {
    {{0, 0, 0}, {1, 0, 0}, {1, 0, 1}, {0, 0, 1}},  // y = 0
    {{0, 1, 0}, {1, 1, 0}, {1, 1, 1}, {0, 1, 1}},  // y = 1
    {{0, 0, 0}, {0, 1, 0}, {0, 1, 1}, {0, 0, 1}},  // x = 0
    {{1, 0, 0}, {1, 1, 0}, {1, 1, 1}, {1, 0, 1}},  // x = 1
    {{0, 0, 0}, {0, 1, 0}, {1, 1, 0}, {1, 0, 0}},  // z = 0
    {{0, 0, 1}, {0, 1, 1}, {1, 1, 1}, {1, 0, 1}},  // z = 1
};

}  // namespace

GenericBox::GenericBox()
{
    if (!gGraphicsFactory)
        return;
    shader = gGraphicsFactory->GetShader("Flat");
    indices = gGraphicsFactory->GetIndexList("GenericBox_indexes", kFaces * 6);
    vertices = gGraphicsFactory->GetVertList("GenericBox_verts", kFaces * 4, false);
    for (int face = 0; face < kFaces; ++face)
        WriteVertices(face, {kCubeFaces[face][0], kCubeFaces[face][1], kCubeFaces[face][2], kCubeFaces[face][3]},
                      glm::vec4(1.0f));
}

void GenericBox::WriteVertices(int face, const std::array<glm::vec3, 4>& corners, const glm::vec4& colour)
{
    if (face < 0 || face >= kFaces || !vertices || !indices)
        return;
    const glm::vec3 normal = glm::cross(corners[1] - corners[0], corners[3] - corners[0]);
    for (int k = 0; k < 4; ++k) {
        vertices->SetVertex(face * 4 + k, ShapeVertex(corners[k], normal, kFaceUv[k], colour, kUnusedPairs));
        unitCorners[static_cast<size_t>(face * 4 + k)] = corners[k];
    }
    const uint32_t first = static_cast<uint32_t>(face * 4);
    for (int k = 0; k < 6; ++k)
        indices->SetIndex(face * 6 + k, first + kQuadTriangles[k]);
}

void GenericBox::Draw(const glm::vec3& minimum, const glm::vec3& maximum, const glm::mat4& world,
                      const glm::mat4& view, const glm::vec4& colour, bool additive, bool depth)
{
    if (!shader)
        return;
    for (size_t i = 0; i < unitCorners.size(); ++i) {
        const glm::vec3 at = minimum + unitCorners[i] * (maximum - minimum);
        vertices->SetPosition(static_cast<int>(i), at.x, at.y, at.z);
    }
    BindFlatLists(*shader, gGraphicsFactory->LoadTexture("smallWhite"), vertices, indices);
    shader->SetParameter("color", colour.r, colour.g, colour.b, colour.a);
    shader->SetParameter("additive", additive ? 1.0f : 0.0f, 0.0f, 0.0f, 0.0f);
    shader->SetParameter("depth", depth ? 1.0f : 0.0f, 0.0f, 0.0f, 0.0f);
    shader->Draw3D(world, view, nullptr, 0, 0);
}
