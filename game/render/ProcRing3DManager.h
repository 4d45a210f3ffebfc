#pragma once
// A batch of up to 1000 textured quads (rings of procedural effects) that
// the effect code fills each frame and that are drawn in one call with the
// "Flat" shader: added to what is behind without depth writes, or, with
// additive off, blended with depth.
//
// Main thread only.

#include "game/render/FlatQuadBatch.h"

#include <glm/mat4x4.hpp>

#include <cstdint>
#include <string>

class ProcRing3DManager {
public:
    static constexpr int32_t kCapacity = FlatQuadBatch::kCapacity;

    // The shader, the texture and lists of this manager's own.
    void Setup(const std::string& textureName);

    // Queues one quad (see FlatQuadBatch::Add); false when the batch is full.
    bool AddQuad(const std::array<glm::vec3, 4>& corners, const std::array<glm::vec2, 4>& uv,
                 const glm::vec4& colour);
    void ClearQueue() { quads.Clear(); }
    // The queued quads, from the view.
    void Draw(const glm::mat4& view);

    int32_t QueuedCount() const { return quads.Count(); }
    const FlatQuadBatch& Quads() const { return quads; }
    bool additive = true;

private:
    FlatQuadBatch quads;
};
