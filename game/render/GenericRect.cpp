#include "game/render/GenericRect.h"

#include "engine/base/QelGraphicsFactoryBase.h"
#include "game/render/FlatShape.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <vector>

namespace {

// Texture pairs the flat shader does not read.
constexpr float kUnusedPairs = 5.0f;

// A point of the square with the square's texture coordinates.
QelVertexRecord SquarePoint(float x, float z)
{
    return ShapeVertex({x, 0.0f, z}, {0.0f, 1.0f, 0.0f}, {(x + 1.0f) / 2.0f, (z + 1.0f) / 2.0f}, glm::vec4(1.0f),
                       kUnusedPairs);
}

}  // namespace

GenericRect::GenericRect()
{
    if (!gGraphicsFactory)
        return;
    shader = gGraphicsFactory->GetShader("Flat");
    indices = gGraphicsFactory->GetIndexList("GenericRect_indexes", 6);
    vertices = gGraphicsFactory->GetVertList("GenericRect_verts", 4, false);
    const glm::vec3 up(0.0f, 1.0f, 0.0f);
    const glm::vec4 white(1.0f);
    vertices->SetVertex(0, ShapeVertex({-1, 0, -1}, up, {0, 0}, white, kUnusedPairs));
    vertices->SetVertex(1, ShapeVertex({-1, 0, 1}, up, {0, 1}, white, kUnusedPairs));
    vertices->SetVertex(2, ShapeVertex({1, 0, 1}, up, {1, 1}, white, kUnusedPairs));
    vertices->SetVertex(3, ShapeVertex({1, 0, -1}, up, {1, 0}, white, kUnusedPairs));
    indices->SetIndices(kQuadTriangles, 6);
}

// The inner polygon's corners lie on the inner circle, so its sides pass
// inside it; the outer one's sides touch the outer circle from outside.
GenericRect::GenericRect(float inner, float outer, int sides)
{
    if (!gGraphicsFactory || sides < 3)
        return;
    const float turn = 2.0f * std::numbers::pi_v<float> / static_cast<float>(sides);
    const float corner = std::min(outer / std::cos(turn / 2.0f), 1.0f);
    shader = gGraphicsFactory->GetShader("Flat");
    vertices = gGraphicsFactory->GetVertList("GenericRect_band_verts", 2 * sides, false);
    std::vector<uint32_t> order;
    for (int i = 0; i < sides; ++i) {
        const float x = std::sin(turn * static_cast<float>(i)), z = std::cos(turn * static_cast<float>(i));
        vertices->SetVertex(2 * i, SquarePoint(x * inner, z * inner));
        vertices->SetVertex(2 * i + 1, SquarePoint(x * corner, z * corner));
        const uint32_t in = 2 * static_cast<uint32_t>(i), next = 2 * static_cast<uint32_t>((i + 1) % sides);
        order.insert(order.end(), {in, in + 1, next + 1, next + 1, next, in});
    }
    indices = gGraphicsFactory->GetIndexList("GenericRect_band_indexes", static_cast<int>(order.size()));
    indices->SetIndices(order.data(), static_cast<int>(order.size()));
}

void GenericRect::Draw(const glm::mat4& world, const glm::mat4& view, const glm::vec4& colour, Qel2dBitmap* texture)
{
    if (!shader)
        return;
    BindFlatLists(*shader, texture ? texture : gGraphicsFactory->LoadTexture("smallWhite"), vertices, indices);
    shader->SetParameter("color", colour.r, colour.g, colour.b, colour.a);
    shader->SetParameter("additive", 0.0f, 0.0f, 0.0f, 0.0f);
    shader->SetParameter("depth", 0.0f, 0.0f, 0.0f, 0.0f);
    shader->Draw3D(world, view, nullptr, 0, 0);
}
