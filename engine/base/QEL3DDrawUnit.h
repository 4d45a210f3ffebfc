#pragma once
// One draw call of a 3D object, by name: the shader, the textures in slot
// order, the vertex lists (the first holds the unit's vertices) and the index
// lists (whole triangles, three indices each). The resources belong to the
// graphics service that loaded the mesh, so every object of one mesh shares
// them; a unit is a small value, copied freely.
//
// Besides drawing, a unit answers ray queries against its triangles: beams
// find where they meet a hull, and editors turn a click into a hull point.

#include <glm/mat4x4.hpp>
#include <glm/vec3.hpp>

#include <cstdint>
#include <string>
#include <vector>

#include "engine/base/QelIndexList.h"
#include "engine/base/QelVertexList.h"

class QelGraphicsFactoryBase;

// The Möller–Trumbore test of a ray against the triangle c0, c1, c2. A ray
// parallel to the plane (|determinant| below 0.00001) and a hit at 0.00001 or
// less along the ray miss. On a hit: the distance along the ray (in units of
// the direction's length), the point, and the face normal (c1 − c0) × (c2 − c0),
// not normalised.
bool RayTriangleIntersect(const glm::vec3& origin, const glm::vec3& direction, const glm::vec3& c0,
                          const glm::vec3& c1, const glm::vec3& c2, float& distance, glm::vec3& hitPoint,
                          glm::vec3& normal);

class QEL3DDrawUnit {
public:
    // Ray casts start with this distance: hits as far or farther are not reported.
    static constexpr float kRayCastReach = 1000000.0f;

    QEL3DDrawUnit() = default;
    explicit QEL3DDrawUnit(QelGraphicsFactoryBase* service) : graphics(service) {}

    // Binds the unit's resources to its shader (or the named one instead)
    // and draws the whole first index list. The shader must have been made
    // (the mesh loaders do); a missing shader or list draws nothing, and a
    // texture that does not load is drawn white.
    void Draw(const glm::mat4& world, const glm::mat4& view, void* extra, const char* shaderOverride = nullptr) const;

    // Adds each triangle's tangent and binormal (from its texture coordinates
    // of set 0) to its corners in the first vertex list; nothing is reset or
    // normalised. A triangle whose texture coordinates span no area adds nothing.
    void ComputeTangents() const;

    // The nearest hit of the ray on the unit's triangles, nearer than
    // kRayCastReach; of equal distances the first triangle in list order wins.
    // False, with the outputs untouched, when nothing is hit.
    bool RayCast(const glm::vec3& origin, const glm::vec3& direction, float& distance, glm::vec3& hitPoint,
                 glm::vec3& normal) const;

    // The unit's lists by name; null when the service holds none of that name.
    QelVertexList* Vertices() const;
    QelIndexList* IndexList(size_t which) const;

    // Calls visit(i0, i1, i2) for every whole triangle of every index list
    // whose three corners lie inside the first vertex list (a list edited
    // elsewhere cannot make a walk read past it); nothing without vertices.
    template <typename Visit>
    void ForEachTriangle(Visit&& visit) const;

    std::string shaderName;
    std::vector<std::string> textureNames;
    std::vector<std::string> vertListNames;
    std::vector<std::string> indexListNames;
    QelGraphicsFactoryBase* graphics = nullptr;  // holds every named resource; not owned
};

template <typename Visit>
void QEL3DDrawUnit::ForEachTriangle(Visit&& visit) const
{
    QelVertexList* vertices = Vertices();
    if (vertices == nullptr)
        return;
    const uint32_t vertexCount = static_cast<uint32_t>(vertices->GetCount());
    for (size_t list = 0; list < indexListNames.size(); ++list) {
        QelIndexList* indices = IndexList(list);
        if (indices == nullptr)
            continue;
        const uint32_t* index = indices->Indices();
        const int triangles = indices->GetCount() / 3;
        for (int t = 0; t < triangles; ++t, index += 3)
            if (index[0] < vertexCount && index[1] < vertexCount && index[2] < vertexCount)
                visit(index[0], index[1], index[2]);
    }
}
