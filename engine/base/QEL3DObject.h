#pragma once
// A 3D object: the ordered draw units of one mesh, as the graphics service's
// mesh loaders make it. It draws its units, reports its box and bakes a
// transformation into its vertices; the lists it names stay the service's.

#include <glm/mat4x4.hpp>
#include <glm/vec3.hpp>

#include <vector>

#include "engine/base/QEL3DDrawUnit.h"

class QEL3DObject {
public:
    // Every unit in order, with the same arguments.
    void Draw(const glm::mat4& world, const glm::mat4& view, void* extra, const char* shaderOverride = nullptr) const;

    // The axis-aligned box of all units' vertices. False, with the outputs
    // untouched, when no unit has vertices.
    bool GetBounds(glm::vec3& minimum, glm::vec3& maximum) const;

    // Bakes the matrix into every unit's first vertex list: positions are
    // transformed, then each vertex takes the area-weighted normal of the
    // triangles it belongs to (unit length; zero for a vertex of degenerate
    // triangles only) and the tangents are added again.
    void Transform(const glm::mat4& matrix);

    std::vector<QEL3DDrawUnit> units;
};
