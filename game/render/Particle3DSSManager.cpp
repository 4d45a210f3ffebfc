#include "game/render/Particle3DSSManager.h"

#include "engine/base/QelInstanceList.h"

#include <glm/geometric.hpp>

Particle3DSSManager::Particle3DSSManager() : particles(kCapacity) {}

void Particle3DSSManager::Setup(const std::string& texture, float stretch, float fall, bool additiveBlend)
{
    textureName = texture;
    velocityStretch = stretch;
    gravity = fall;
    additive = additiveBlend;
    Clear();
    billboards.Setup("IPTCell", "Particle3DSSManager-vertex", "Particle3DSSManager-instance", kCapacity);
}

SpriteSheetParticle& Particle3DSSManager::Spawn()
{
    nextSlot = nextSlot + 1 >= kCapacity ? 0 : nextSlot + 1;
    return particles[static_cast<size_t>(nextSlot)];
}

SpriteSheetParticle& Particle3DSSManager::Add(const glm::vec3& position, const glm::vec3& velocity,
                                              const glm::vec4& colour, float size, int32_t lifetime, int32_t cell,
                                              int32_t delay)
{
    SpriteSheetParticle& particle = Spawn();
    particle = SpriteSheetParticle{position, velocity, delay, 0, lifetime, size, cell, colour, glm::vec4(0.0f)};
    return particle;
}

void Particle3DSSManager::Clear()
{
    for (SpriteSheetParticle& particle : particles)
        particle.age = -1;
    nextSlot = 0;
}

void Particle3DSSManager::Update(const glm::vec3& cameraPos)
{
    for (SpriteSheetParticle& particle : particles)
        UpdateOne(particle, cameraPos);
}

void Particle3DSSManager::UpdateOne(SpriteSheetParticle& particle, const glm::vec3& cameraPos) const
{
    if (particle.delay > 0) {
        --particle.delay;
        return;
    }
    if (particle.age < 0)
        return;
    const glm::vec3 apart = particle.position - cameraPos;
    const float clearance = particle.size * kCameraClearance;
    if (glm::dot(apart, apart) < clearance * clearance) {
        particle.age = -1;
        return;
    }
    ++particle.age;
    if (particle.age >= particle.lifetime) {
        particle.age = -1;
        return;
    }
    particle.position += particle.velocity;
    particle.velocity.y -= gravity;
    const float left = 1.0f - static_cast<float>(particle.age) / static_cast<float>(particle.lifetime);
    if (additive) {
        particle.colour = particle.baseColour * left;
    } else {
        particle.colour = particle.baseColour;
        particle.colour.a = particle.baseColour.a * left;
    }
}

void Particle3DSSManager::Draw(const glm::mat4& view)
{
    drawnCount = 0;
    for (const SpriteSheetParticle& particle : particles) {
        if (particle.age < 0 || particle.age >= particle.lifetime || particle.delay >= 1)
            continue;
        const QelInstanceRecord record{{particle.position.x, particle.position.y, particle.position.z, particle.size},
                                       {particle.colour.r, particle.colour.g, particle.colour.b, particle.colour.a},
                                       {particle.velocity.x, particle.velocity.y, particle.velocity.z},
                                       0.0f,
                                       particle.cell};
        billboards.SetInstance(drawnCount++, record);
    }
    billboards.Draw(view, drawnCount, textureName, additive, velocityStretch);
}
