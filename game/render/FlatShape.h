#pragma once
// What the flat shapes (ribbons, rings, boxes, rectangles) share: their
// whole-vertex record and the binding of their lists to the "Flat" family
// of shaders.

#include "engine/base/QelDrawProcess.h"
#include "engine/base/QelVertexList.h"

#include <glm/vec2.hpp>
#include <glm/vec3.hpp>
#include <glm/vec4.hpp>

#include <cstdint>

// The two triangles of a quad whose corners run round it: 0 1 2 and 2 3 0.
inline constexpr uint32_t kQuadTriangles[6] = {0, 1, 2, 2, 3, 0};

// A position, a normal, the first texture pair and a colour; binormal and
// tangent stay 0 and the other texture pairs take the filler.
inline QelVertexRecord ShapeVertex(const glm::vec3& position, const glm::vec3& normal, const glm::vec2& uv,
                                   const glm::vec4& colour, float otherPairs = 0.0f)
{
    QelVertexRecord vertex{};
    for (int axis = 0; axis < 3; ++axis) {
        vertex.position[axis] = position[axis];
        vertex.normal[axis] = normal[axis];
    }
    vertex.texCoord[0][0] = uv.x;
    vertex.texCoord[0][1] = uv.y;
    for (int pair = 1; pair < 4; ++pair)
        vertex.texCoord[pair][0] = vertex.texCoord[pair][1] = otherPairs;
    for (int channel = 0; channel < 4; ++channel)
        vertex.colour[channel] = colour[channel];
    return vertex;
}

// The texture and the two lists for the shader's next draw.
inline void BindFlatLists(QelDrawProcess& shader, Qel2dBitmap* texture, QelVertexList* vertices,
                          QelIndexList* indices)
{
    shader.bitmap2DList = {texture};
    shader.vertList = {vertices};
    shader.indexList = {indices};
    shader.instanceList.clear();
}
