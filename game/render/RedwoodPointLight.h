#pragma once
// One coloured spot light of the lit-ship shader "Redwood", which has 16 light
// slots; the 3D view hands its table of lights to the shader every frame.

#include <glm/vec3.hpp>

class QelDrawProcess;

struct RedwoodPointLight {
    // Slots of the shader, indexes 0..15.
    static constexpr int kSlots = 16;

    glm::vec3 colour{0.0f};    // red, green, blue
    glm::vec3 position{0.0f};  // world units
    float radius = 0.0f;       // reach in world units; 0 lights nothing

    // Writes the light into slot lightIndex of the process ("spotPos",
    // "spotRadius", "spotColor"), replacing whatever the slot held.
    void Apply(QelDrawProcess* process, int lightIndex) const;
};
