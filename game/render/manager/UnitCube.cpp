#include "game/render/manager/UnitCube.h"

#include "engine/base/QelGraphicsFactoryBase.h"

#include <glm/geometric.hpp>
#include <glm/vec3.hpp>

#include <cstdint>

namespace {

constexpr int kCorners = 8;
constexpr glm::vec3 kCorner[kCorners] = {{1, 1, 1},   {-1, 1, 1},   {-1, -1, 1}, {1, -1, 1},
                                         {1, 1, -1},  {-1, 1, -1},  {-1, -1, -1}, {1, -1, -1}};
// Twelve triangles, then a padding of four empty ones: the list keeps the
// length of the lists the planet shaders were made for (48 entries), and a
// triangle of three equal corners draws nothing.
constexpr int kIndexCount = 48;
constexpr uint32_t kTriangles[36] = {0, 2, 1, 0, 3, 2, 1, 2, 6, 6, 5, 1, 4, 5, 6, 6, 7, 4,
                                     2, 3, 6, 6, 3, 7, 0, 7, 3, 0, 4, 7, 0, 1, 5, 0, 5, 4};

}  // namespace

UnitCubeLists MakeUnitCube(const std::string& vertexListName, const std::string& indexListName)
{
    if (!gGraphicsFactory)
        return {};
    UnitCubeLists cube{gGraphicsFactory->GetVertList(vertexListName, kCorners, false),
                       gGraphicsFactory->GetIndexList(indexListName, kIndexCount)};
    if (!cube.Ready())
        return {};
    for (int i = 0; i < kCorners; ++i) {
        const glm::vec3 corner = kCorner[i];
        const glm::vec3 normal = glm::normalize(corner);
        cube.vertices->SetPosition(i, corner.x, corner.y, corner.z);
        cube.vertices->SetVector(i, 0, normal.x, normal.y, normal.z);
        cube.vertices->SetColor(i, 1.0f, 1.0f, 1.0f, 1.0f);
    }
    for (int i = 0; i < kIndexCount; ++i)
        cube.indices->SetIndex(i, i < 36 ? kTriangles[i] : 0u);
    return cube;
}
