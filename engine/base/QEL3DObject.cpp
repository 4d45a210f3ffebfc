#include "engine/base/QEL3DObject.h"

#include <glm/geometric.hpp>
#include <glm/gtc/quaternion.hpp>

#include "engine/base/QelVertexList.h"

namespace {

glm::vec3 Position(const QelVertex& vertex)
{
    return {vertex.position[0], vertex.position[1], vertex.position[2]};
}

// The rotation of the matrix's upper 3 × 3 part with its scale taken out.
glm::quat RotationOf(const glm::mat4& matrix)
{
    glm::mat3 rotation(matrix);
    for (int column = 0; column < 3; ++column) {
        const float length = glm::length(rotation[column]);
        if (length > 0.0f)
            rotation[column] /= length;
    }
    return glm::normalize(glm::quat_cast(rotation));
}

void Rotate(float vector[3], const glm::quat& rotation)
{
    const glm::vec3 turned = rotation * glm::vec3(vector[0], vector[1], vector[2]);
    vector[0] = turned.x, vector[1] = turned.y, vector[2] = turned.z;
}

void TransformVertices(QelVertexList& list, const glm::mat4& matrix, const glm::quat& rotation)
{
    std::vector<QelVertex> vertices(list.Vertices(), list.Vertices() + list.GetCount());
    for (QelVertex& v : vertices) {
        const glm::vec4 moved = matrix * glm::vec4(Position(v), 1.0f);
        v.position[0] = moved.x, v.position[1] = moved.y, v.position[2] = moved.z;
        Rotate(v.normal, rotation);
        Rotate(v.binormal, rotation);
        Rotate(v.tangent, rotation);
    }
    list.SetVertices(vertices.data(), list.GetCount());
}

// Each vertex takes the sum of its triangles' face normals, so larger faces
// weigh more, then unit length; a vertex of degenerate triangles only keeps
// a zero normal rather than a NaN.
void RebuildNormals(const QEL3DDrawUnit& unit, QelVertexList& list)
{
    std::vector<QelVertex> vertices(list.Vertices(), list.Vertices() + list.GetCount());
    std::vector<glm::vec3> sums(vertices.size(), glm::vec3(0.0f));
    unit.ForEachTriangle([&](uint32_t i0, uint32_t i1, uint32_t i2) {
        const glm::vec3 p0 = Position(vertices[i0]), p1 = Position(vertices[i1]), p2 = Position(vertices[i2]);
        const glm::vec3 n = glm::cross(p2 - p1, p0 - p1);
        sums[i0] += n, sums[i1] += n, sums[i2] += n;
    });
    for (size_t i = 0; i < vertices.size(); ++i) {
        const float length = glm::length(sums[i]);
        const glm::vec3 n = length > 0.0f && std::isfinite(length) ? sums[i] / length : glm::vec3(0.0f);
        vertices[i].normal[0] = n.x, vertices[i].normal[1] = n.y, vertices[i].normal[2] = n.z;
    }
    list.SetVertices(vertices.data(), list.GetCount());
}

}  // namespace

void QEL3DObject::Draw(const glm::mat4& world, const glm::mat4& view, void* extra, const char* shaderOverride) const
{
    for (const QEL3DDrawUnit& unit : units)
        unit.Draw(world, view, extra, shaderOverride);
}

bool QEL3DObject::GetBounds(glm::vec3& minimum, glm::vec3& maximum) const
{
    bool found = false;
    for (const QEL3DDrawUnit& unit : units) {
        QelVertexList* list = unit.Vertices();
        if (list == nullptr)
            continue;
        float lo[3], hi[3];
        list->GetBounds(lo, hi);
        const glm::vec3 low(lo[0], lo[1], lo[2]), high(hi[0], hi[1], hi[2]);
        minimum = found ? glm::min(minimum, low) : low;
        maximum = found ? glm::max(maximum, high) : high;
        found = true;
    }
    return found;
}

void QEL3DObject::Transform(const glm::mat4& matrix)
{
    const glm::quat rotation = RotationOf(matrix);
    for (const QEL3DDrawUnit& unit : units) {
        QelVertexList* list = unit.Vertices();
        if (list == nullptr)
            continue;
        TransformVertices(*list, matrix, rotation);
        RebuildNormals(unit, *list);
        unit.ComputeTangents();
    }
}
