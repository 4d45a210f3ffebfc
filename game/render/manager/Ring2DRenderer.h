#pragma once
// A ring, or part of one, drawn as a band of flat quads: the radar's scan
// progress around its target.

#include <glm/vec2.hpp>
#include <glm/vec4.hpp>

#include <cstdint>

class UIContext;

class Ring2DRenderer {
public:
    // Quads of a whole turn, and the band's width in pixels.
    static constexpr int32_t kSegments = 50;
    static constexpr float kBandWidth = 5.0f;

    // The arc from start over sweep (radians, clockwise from up, as the
    // radar's bearings run), radius in pixels at the band's middle.
    void Draw(UIContext& ui, const glm::vec2& centre, float radius, float start, float sweep, const glm::vec4& colour,
              int layer) const;
};
