#pragma once
// A particle burst as a style-string descriptor describes it, spawned into
// the sprite-sheet particle rings of the 3D view. Entries are applied in
// their order:
//
//   count:min[,max]      particles in the burst (none without it)
//   speed:min[,max]      speed of each particle
//   shape:name           hull, line_x/y/z, ring_x/y/z, cone_x/y/z; any other
//                        name (or none) sends particles every way
//   align:True           later offsets, and line, ring and cone shapes, turn
//                        with the object
//   smoke:True           smoke particles instead of hot ones
//   color:c1[,c2]        colours, each particle between the two
//   lifespan:min[,max]   ticks each particle lives
//   size:min[,max]
//   offset:x,y,z         moves the emit point
//   image_cell:min[,max] cell of the sprite sheet
//   delay:min[,max]      ticks before a particle starts
//
// Values come from the network and from mission scripts: whatever they hold
// makes a burst of at most one ring's worth of particles and never stops
// the program.
//
// Main thread only.

#include <glm/gtc/quaternion.hpp>
#include <glm/mat4x4.hpp>
#include <glm/vec3.hpp>

#include <functional>
#include <string>

class Particle3DSSManager;

// Where a "hull" burst starts: a random vertex of the object's mesh, in the
// mesh's own frame, placed by the object's model matrix.
struct ParticleHull {
    glm::mat4 model{1.0f};
    std::function<glm::vec3()> randomVertex;
};

// Hull particles start a little outside the hull.
inline constexpr float kParticleHullLift = 1.1f;

// Spawns the burst at the position, turned by the orientation; hull bursts
// start on the hull when there is one, else at the position.
void SpawnParticleBurst(const std::string& descriptor, const glm::vec3& position, const glm::quat& orientation,
                        const ParticleHull* hull, Particle3DSSManager& hot, Particle3DSSManager& smoke);
