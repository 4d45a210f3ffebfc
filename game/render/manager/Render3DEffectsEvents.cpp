// Particle events on the 3D view: a burst at a point or an object (see
// ParticleBurst.h), and the emitters that repeat an object's burst every
// tick.

#include "game/render/manager/Render3D.h"

#include "game/render/ParticleBurst.h"
#include "game/render/Particle3DSSManager.h"
#include "game/world/ShipData.h"
#include "game/world/Simulation.h"

#include <glm/geometric.hpp>

namespace {

// Events farther from the camera than this are not worth their particles
// (8000 units, squared).
constexpr float kEventReachSquared = 6.4e7f;

}  // namespace

void Render3D::AddParticleEvent(const glm::vec3& position, const glm::quat& orientation,
                                const std::string& descriptor, const SpaceObject* object)
{
    if (!hot_particles || !smoke_particles)
        return;
    const glm::vec3 fromCamera = position + camera.eye;
    if (glm::dot(fromCamera, fromCamera) > kEventReachSquared)
        return;
    if (!object || !ShipData::Instance().Find(object->data_tag)) {
        SpawnParticleBurst(descriptor, position, orientation, nullptr, *hot_particles, *smoke_particles);
        return;
    }
    const ParticleHull hull{ShipMatrix(*object), [this, object] { return RandomHullPoint(*object); }};
    SpawnParticleBurst(descriptor, position, orientation, &hull, *hot_particles, *smoke_particles);
}

void Render3D::UpdateParticleEmitters()
{
    emitters.Tick(theSimulation, [this](const SpaceObject& object, const std::string& descriptor) {
        AddParticleEvent(object.pos, object.rot_quat, descriptor, &object);
    });
}
