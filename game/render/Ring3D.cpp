#include "game/render/Ring3D.h"

#include "engine/base/QelGraphicsFactoryBase.h"
#include "game/render/FlatShape.h"

#include <glm/gtc/matrix_transform.hpp>

#include <numbers>

namespace {

// The sweep is divided by two segments fewer than there are, so the last two
// lie over the first two and close the ring.
constexpr float kSweepDivisor = static_cast<float>(Ring3D::kSegments - 2);

// The first segment, under the last, is transparent.
constexpr glm::vec4 kSeam{0.0f};
constexpr glm::vec4 kWhite{1.0f};

glm::vec3 Turned(const glm::mat4& turn, const glm::vec3& point)
{
    return glm::vec3(turn * glm::vec4(point, 1.0f));
}

}  // namespace

Ring3D::Ring3D()
{
    if (!gGraphicsFactory)
        return;
    shader = gGraphicsFactory->GetShader("FlatFacing");
    vertices = gGraphicsFactory->GetVertList("GenericRing_verts", kSegments * 4, false);
    indices = gGraphicsFactory->GetIndexList("GenericRing_indexes", kSegments * 6);
    for (int32_t segment = 0; segment < kSegments; ++segment) {
        const float u0 = static_cast<float>(segment) / kSegments * kTextureRepeats;
        const float u1 = static_cast<float>(segment + 1) / kSegments * kTextureRepeats;
        const int32_t first = segment * 4;
        for (int32_t k = 0; k < 4; ++k) {
            const float v = k % 2 == 0 ? 0.0f : 1.0f;  // inner, outer
            QelVertexRecord vertex = ShapeVertex(glm::vec3(0.0f), glm::vec3(0.0f), {u0, v}, segment == 0 ? kSeam : kWhite);
            vertex.texCoord[1][0] = u1;
            vertex.texCoord[1][1] = v;
            vertices->SetVertex(first + k, vertex);
        }
        const uint32_t base = static_cast<uint32_t>(first);
        const uint32_t order[6] = {0, 1, 3, 3, 2, 0};
        for (int32_t k = 0; k < 6; ++k)
            indices->SetIndex(segment * 6 + k, base + order[k]);
    }
}

void Ring3D::Draw(Qel2dBitmap* texture, const glm::mat4& world, const glm::mat4& view, const glm::vec4& colour,
                  const glm::vec3& inner, const glm::vec3& outer, bool additive, bool depth)
{
    if (!shader || !texture)
        return;
    const float turn = 2.0f * std::numbers::pi_v<float>;
    const glm::vec3 yAxis(0.0f, 1.0f, 0.0f);
    for (int32_t segment = 0; segment < kSegments; ++segment) {
        const glm::mat4 start = glm::rotate(glm::mat4(1.0f), segment / kSweepDivisor * turn, yAxis);
        const glm::mat4 end = glm::rotate(glm::mat4(1.0f), (segment + 1) / kSweepDivisor * turn, yAxis);
        const glm::vec3 normal = glm::vec3(start * glm::vec4(0.0f, 0.0f, 1.0f, 0.0f));
        const glm::vec3 corners[4] = {Turned(start, inner), Turned(start, outer), Turned(end, inner),
                                      Turned(end, outer)};
        const int32_t first = segment * 4;
        for (int32_t k = 0; k < 4; ++k) {
            vertices->SetPosition(first + k, corners[k].x, corners[k].y, corners[k].z);
            vertices->SetVector(first + k, 0, normal.x, normal.y, normal.z);
        }
    }
    BindFlatLists(*shader, texture, vertices, indices);
    shader->SetParameter("color", colour.r, colour.g, colour.b, colour.a);
    shader->SetParameter("additive", additive ? 1.0f : 0.0f, 0.0f, 0.0f, 0.0f);
    shader->SetParameter("depth", depth ? 1.0f : 0.0f, 0.0f, 0.0f, 0.0f);
    shader->Draw3D(world, view, nullptr, 0, 0);
}
