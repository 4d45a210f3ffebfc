#include "game/render/Particle3DInstancedManager.h"

#include "engine/base/QelInstanceList.h"
#include "helper/CRand.h"

#include <glm/geometric.hpp>

namespace {

// A random offset in -kFieldRadius..kFieldRadius.
float FieldOffset()
{
    return static_cast<float>(crand()) / static_cast<float>(CRAND_MAX) * 2.0f *
               Particle3DInstancedManager::kFieldRadius -
           Particle3DInstancedManager::kFieldRadius;
}

}  // namespace

Particle3DInstancedManager::Particle3DInstancedManager() : particles(kCapacity) {}

void Particle3DInstancedManager::Setup(const std::string& texture, float stretch, int32_t)
{
    textureName = texture;
    velocityStretch = stretch;
    Clear();
    billboards.Setup("InstancedPostTransform", "test-billboard-vertex", "test-billboard-instance", kCapacity);
}

void Particle3DInstancedManager::Clear()
{
    for (FieldParticle& particle : particles)
        particle.age = -1.0f;
}

void Particle3DInstancedManager::Update(const glm::vec3& cameraPos, const glm::vec3& cameraDir)
{
    const glm::vec3 ahead = cameraPos + cameraDir * kLeadTicks;
    for (FieldParticle& particle : particles) {
        if (particle.age < 0.0f) {
            const float x = FieldOffset();
            const float y = FieldOffset();
            const float z = FieldOffset();
            particle.position = ahead + glm::vec3(x, y, z);
            particle.age = 1.0f;
            particle.lifetime = kLifetime;
            particle.size = 1.0f;
            particle.velocity = glm::vec3(0.0f);
            particle.baseColour = glm::vec4(1.0f);
            particle.colour = glm::vec4(1.0f);
            continue;
        }
        const glm::vec3 apart = particle.position - cameraPos;
        if (glm::dot(apart, apart) > kFieldRadius * kFieldRadius)
            particle.age = -1.0f;
    }
}

void Particle3DInstancedManager::Draw(const glm::mat4& view)
{
    drawnCount = 0;
    for (const FieldParticle& particle : particles) {
        if (particle.age < 0.0f || particle.age >= particle.lifetime)
            continue;
        const QelInstanceRecord record{{particle.position.x, particle.position.y, particle.position.z, particle.size},
                                       {particle.colour.r, particle.colour.g, particle.colour.b, particle.colour.a},
                                       {particle.velocity.x, particle.velocity.y, particle.velocity.z},
                                       0.0f,
                                       0};
        billboards.SetInstance(drawnCount++, record);
    }
    billboards.Draw(view, drawnCount, textureName, false, velocityStretch);
}
