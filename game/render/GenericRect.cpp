#include "game/render/GenericRect.h"

#include "engine/base/QelGraphicsFactoryBase.h"
#include "game/render/FlatShape.h"

namespace {

// Texture pairs the flat shader does not read.
constexpr float kUnusedPairs = 5.0f;

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
