#pragma once
// A field of 50 still particles kept around the camera: space dust that
// shows the ship's motion. A free particle is placed at random within 300
// units of a point ahead of the camera along its movement; one that falls
// more than 300 units behind is freed and placed again on the next update.
//
// Main thread only.

#include "game/render/ParticleBillboards.h"

#include <glm/mat4x4.hpp>
#include <glm/vec3.hpp>
#include <glm/vec4.hpp>

#include <cstdint>
#include <string>
#include <vector>

struct FieldParticle {
    glm::vec3 position{0.0f};
    glm::vec3 velocity{0.0f};
    float age = -1.0f;  // below 0: free
    float lifetime = 0.0f;
    float size = 0.0f;
    glm::vec4 baseColour{0.0f};
    glm::vec4 colour{0.0f};
};

class Particle3DInstancedManager {
public:
    static constexpr int32_t kCapacity = 50;
    // How far from the point ahead a particle is placed, per axis, and how
    // far from the camera it may be before it is placed again.
    static constexpr float kFieldRadius = 300.0f;
    // The point ahead is the camera's movement this many times over.
    static constexpr float kLeadTicks = 10.0f;
    static constexpr float kLifetime = 100.0f;

    Particle3DInstancedManager();

    // The texture and the stretch along motion; every particle free. The
    // last value is kept for callers and not used.
    void Setup(const std::string& textureName, float velocityStretch, int32_t unused);
    // Every particle free, to be placed anew on the next update.
    void Clear();

    // One tick, with the camera's world position and the direction to lead
    // the field by (its movement since the last tick).
    void Update(const glm::vec3& cameraPos, const glm::vec3& cameraDir);
    void Draw(const glm::mat4& view);

    const std::vector<FieldParticle>& Particles() const { return particles; }
    int32_t DrawnCount() const { return drawnCount; }

private:
    float velocityStretch = 0.0f;
    std::string textureName;
    std::vector<FieldParticle> particles;
    int32_t drawnCount = 0;
    ParticleBillboards billboards;
};
