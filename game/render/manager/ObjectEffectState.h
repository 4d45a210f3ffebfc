#pragma once
// What the 3D view keeps of one space object between frames: where it was
// last drawn, the points its beams hit, the shield ripples it shows as a
// target, and the lights that shine on it this frame. The render manager
// holds one per object id, made all zero on first use.

#include "game/render/RedwoodPointLight.h"

#include <glm/mat4x4.hpp>
#include <glm/vec3.hpp>
#include <glm/vec4.hpp>

#include <array>
#include <cstdint>

struct ObjectEffectState {
    static constexpr int kBeams = 20;
    static constexpr int kRipples = 3;

    glm::mat4 drawMatrix{1.0f};  // world matrix of its last drawing; beams aim at it
    std::array<std::array<glm::vec3, 2>, kBeams> beamHits{};  // per beam index, in its target's model space
    std::array<int64_t, kRipples> rippleStart{};              // tick; 0 = the slot is free
    std::array<int64_t, kRipples> rippleEnd{};
    std::array<glm::vec3, kRipples> rippleOffset{};  // model space
    std::array<glm::vec4, kRipples> rippleColour{};
    // Lights shining on it this frame; a radius of 0 or less is a free slot.
    std::array<RedwoodPointLight, RedwoodPointLight::kSlots> lights{};
};
