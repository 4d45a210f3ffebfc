#pragma once
// Up to 1000 textured quads queued into one pair of preallocated lists and
// drawn in one call with the "Flat" shader: the batch under the ribbons and
// the procedural rings. Each batch set up gets lists of its own, named with
// its prefix and a number counted over the process per prefix
// ("Ribbon3DManager-vertex_0", "Ribbon3DManager-index_0", ...). Quads past
// the capacity are dropped.
//
// Main thread only.

#include <glm/mat4x4.hpp>
#include <glm/vec2.hpp>
#include <glm/vec3.hpp>
#include <glm/vec4.hpp>

#include <array>
#include <cstdint>
#include <string>

class Qel2dBitmap;
class QelDrawProcess;
class QelIndexList;
class QelVertexList;

class FlatQuadBatch {
public:
    static constexpr int32_t kCapacity = 1000;

    // The shader, the texture and the lists; the batch empty.
    void Setup(const std::string& listPrefix, const std::string& textureName);

    // Queues one quad, corners in order round it (two triangles: 0 1 2 and
    // 2 3 0); false, and nothing queued, when the batch is full.
    bool Add(const std::array<glm::vec3, 4>& corners, const std::array<glm::vec2, 4>& uv,
             const std::array<glm::vec4, 4>& colours, const glm::vec3& normal);
    void Clear() { count = 0; }
    int32_t Count() const { return count; }

    // The shader the batch draws with, for its switches; null without graphics.
    QelDrawProcess* Shader() const { return shader; }
    // The queued quads with the identity world matrix, from the view;
    // nothing when none is queued.
    void Draw(const glm::mat4& view);

    QelVertexList* Vertices() const { return vertices; }
    QelIndexList* Indices() const { return indices; }

private:
    QelDrawProcess* shader = nullptr;
    Qel2dBitmap* texture = nullptr;
    QelVertexList* vertices = nullptr;
    QelIndexList* indices = nullptr;
    int32_t count = 0;
};
