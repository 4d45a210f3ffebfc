#pragma once
// A machine's 3D view as particle effects reach it: bursts described by a
// style string ("color:...; lifespan:...; count:..."), and the emitters that
// repeat a burst from an object every tick. The renderer implements it; the
// headless server has a quiet one that keeps the emitters and shows nothing.
//
// Main thread only.

#include "game/world/ParticleEmitters.h"

#include <glm/gtc/quaternion.hpp>
#include <glm/vec3.hpp>

#include <string>

class SpaceObject;

class ParticleView {
public:
    virtual ~ParticleView() = default;

    // One burst at the position, turned by the orientation (that of the
    // object, or the identity in open space); the object, when there is one,
    // lends its shape to bursts that follow a hull.
    virtual void AddParticleEvent(const glm::vec3& position, const glm::quat& orientation,
                                  const std::string& descriptor, const SpaceObject* object) = 0;

    // The view's emitters, under the ids this machine hands out (a server)
    // or was given (a console).
    virtual ParticleEmitters& Emitters() = 0;
};
