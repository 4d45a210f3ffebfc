#pragma once
// Camera-facing textured strips along point trails: missile and drone
// trails, docking beams, beams and lightning. Each tick the trails are
// queued again (Update turns each segment of a trail into one quad, its
// edges turned towards the camera and its corners faded by their points'
// ages), and every frame draws the queue in one call. At most 1000 quads a
// tick are kept; more are dropped.
//
// Main thread only.

#include "game/render/FlatQuadBatch.h"
#include "game/render/RibbonTrail.h"

#include <glm/mat4x4.hpp>
#include <glm/vec3.hpp>

#include <cstdint>
#include <string>

class Ribbon3DManager {
public:
    static constexpr int32_t kCapacity = FlatQuadBatch::kCapacity;
    // Quads show a strip of the texture this wide (a column of its sheet).
    static constexpr float kTextureColumn = 0.125f;

    // The shader, the texture and lists of this manager's own.
    void Setup(const std::string& textureName);

    // The trail's side vectors, then one quad per segment while there is
    // room. A trail of fewer than two points queues nothing.
    void Update(RibbonTrail& trail, const glm::vec3& cameraPos);
    // Empties the queue (every tick, before the trails are queued again).
    void ClearQueue() { quads.Clear(); }
    // All queued quads, from the view.
    void Draw(const glm::mat4& view);

    int32_t QueuedCount() const { return quads.Count(); }
    const FlatQuadBatch& Quads() const { return quads; }
    bool additive = true;

private:
    void Queue(const RibbonTrail& trail, int32_t segment);

    FlatQuadBatch quads;
};
