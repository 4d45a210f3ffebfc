#pragma once
// A flat ring swept about the Y axis in the 3D view (a black hole's gas, a
// nav ring): 100 segments between an inner and an outer point, rewritten at
// every draw, drawn with the "FlatFacing" shader so that it fades where it is
// seen edge on. The segments sweep a little more than a turn, and the first
// one is transparent, so the seam never shows.
//
// Main thread only.

#include <glm/mat4x4.hpp>
#include <glm/vec3.hpp>
#include <glm/vec4.hpp>

#include <cstdint>

class Qel2dBitmap;
class QelDrawProcess;
class QelIndexList;
class QelVertexList;

class Ring3D {
public:
    static constexpr int32_t kSegments = 100;
    // The texture repeats this many times round the ring.
    static constexpr float kTextureRepeats = 10.0f;

    Ring3D();
    void Draw(Qel2dBitmap* texture, const glm::mat4& world, const glm::mat4& view, const glm::vec4& colour,
              const glm::vec3& inner, const glm::vec3& outer, bool additive, bool depth);

    QelVertexList* Vertices() const { return vertices; }

private:
    QelDrawProcess* shader = nullptr;
    QelVertexList* vertices = nullptr;
    QelIndexList* indices = nullptr;
};
