#pragma once
// What the two particle managers share on the GPU side: one camera-facing
// quad in a vertex list, an instance list the managers fill with the
// particles to draw, and the instanced shader that draws the quad once for
// each instance with the manager's texture. Without a graphics service (the
// headless server) it holds nothing and draws nothing.
//
// Main thread only.

#include <glm/mat4x4.hpp>

#include <cstdint>
#include <string>

struct QelInstanceRecord;
class QelDrawProcess;
class QelInstanceList;
class QelVertexList;

class ParticleBillboards {
public:
    // The quad is two triangles.
    static constexpr int32_t kQuadVertices = 6;

    // Takes the shader and makes the lists (capacity quads of room for the
    // vertices, capacity instances), then writes the quad into the first six
    // vertices.
    void Setup(const std::string& shaderName, const std::string& vertexListName,
               const std::string& instanceListName, int32_t capacity);

    // Stores one instance to draw at the slot (below the capacity).
    void SetInstance(int32_t slot, const QelInstanceRecord& record);

    // The first count instances with the texture, the blending and the
    // stretch along each particle's motion, from the view.
    void Draw(const glm::mat4& view, int32_t count, const std::string& textureName, bool additive,
              float velocityStretch);

private:
    QelDrawProcess* shader = nullptr;
    QelVertexList* vertices = nullptr;
    QelInstanceList* instances = nullptr;
};
