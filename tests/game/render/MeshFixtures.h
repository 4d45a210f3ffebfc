#pragma once
// Small meshes for the render tests, made straight in a graphics service's
// lists as the mesh loaders would leave them.

#include <glm/vec3.hpp>

#include <memory>
#include <string>
#include <vector>

#include "engine/base/QEL3DObject.h"
#include "engine/base/QelGraphicsFactoryBase.h"

namespace qeltest {

// One unit whose triangles are the corners, three at a time.
inline std::unique_ptr<QEL3DObject> TriangleMesh(QelGraphicsFactoryBase& graphics, const std::string& name,
                                                 const std::vector<glm::vec3>& corners)
{
    QEL3DDrawUnit unit(&graphics);
    unit.shaderName = "Redwood";
    unit.textureNames = {name + "_diffuse"};
    unit.vertListNames = {name + "_verts"};
    unit.indexListNames = {name + "_indexes"};
    const int count = static_cast<int>(corners.size());
    QelVertexList* vertices = graphics.GetVertList(unit.vertListNames[0], count, false);
    QelIndexList* indices = graphics.GetIndexList(unit.indexListNames[0], count);
    for (int i = 0; i < count; ++i) {
        vertices->SetPosition(i, corners[i].x, corners[i].y, corners[i].z);
        indices->SetIndex(i, static_cast<uint32_t>(i));
    }
    auto mesh = std::make_unique<QEL3DObject>();
    mesh->units.push_back(unit);
    return mesh;
}

// The two triangles of a flat rectangle at height y.
inline std::vector<glm::vec3> Rectangle(float left, float near, float right, float far, float y = 0.0f)
{
    return {{left, y, near}, {right, y, near}, {right, y, far}, {left, y, near}, {right, y, far}, {left, y, far}};
}

// The twelve triangles of a box.
inline std::vector<glm::vec3> Box(const glm::vec3& lo, const glm::vec3& hi)
{
    std::vector<glm::vec3> corners;
    const auto face = [&](std::vector<glm::vec3> quad) {
        corners.insert(corners.end(), {quad[0], quad[1], quad[2], quad[0], quad[2], quad[3]});
    };
    face({{lo.x, lo.y, lo.z}, {hi.x, lo.y, lo.z}, {hi.x, lo.y, hi.z}, {lo.x, lo.y, hi.z}});
    face({{lo.x, hi.y, lo.z}, {lo.x, hi.y, hi.z}, {hi.x, hi.y, hi.z}, {hi.x, hi.y, lo.z}});
    face({{lo.x, lo.y, lo.z}, {lo.x, hi.y, lo.z}, {hi.x, hi.y, lo.z}, {hi.x, lo.y, lo.z}});
    face({{lo.x, lo.y, hi.z}, {hi.x, lo.y, hi.z}, {hi.x, hi.y, hi.z}, {lo.x, hi.y, hi.z}});
    face({{lo.x, lo.y, lo.z}, {lo.x, lo.y, hi.z}, {lo.x, hi.y, hi.z}, {lo.x, hi.y, lo.z}});
    face({{hi.x, lo.y, lo.z}, {hi.x, hi.y, lo.z}, {hi.x, hi.y, hi.z}, {hi.x, lo.y, hi.z}});
    return corners;
}

}  // namespace qeltest
