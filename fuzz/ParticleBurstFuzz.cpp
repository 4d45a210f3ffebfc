// Particle event descriptors, from mission scripts and from the server's
// "signal" 63 and 64: any text makes a burst of at most one ring's worth of
// particles, each with a lifetime the rings age through, and the rings age
// them without fault.

#include "fuzz/support/FuzzProcess.h"
#include "game/render/Particle3DSSManager.h"
#include "game/render/ParticleBurst.h"

#include <glm/gtc/quaternion.hpp>

#include <string>

namespace {

int32_t Live(const Particle3DSSManager& ring)
{
    int32_t live = 0;
    for (const SpriteSheetParticle& particle : ring.Particles())
        live += particle.age >= 0;
    return live;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static Particle3DSSManager hot;
    static Particle3DSSManager smoke;
    const std::string descriptor(reinterpret_cast<const char*>(data), size);
    hot.Clear();
    smoke.Clear();
    // Every other input bursts on a hull, turned a quarter.
    const ParticleHull hull{glm::mat4(1.0f), [] { return glm::vec3(3.0f, -2.0f, 40.0f); }};
    const glm::quat turn = glm::angleAxis(1.5707964f, glm::vec3(0.0f, 1.0f, 0.0f));
    SpawnParticleBurst(descriptor, glm::vec3(10.0f, 0.0f, -5.0f), turn, size % 2 != 0 ? &hull : nullptr, hot,
                       smoke);
    QEL_FUZZ_CHECK(Live(hot) + Live(smoke) <= Particle3DSSManager::kCapacity,
                   "a burst made more particles than a ring holds");
    hot.Update(glm::vec3(0.0f));
    smoke.Update(glm::vec3(0.0f));
    return 0;
}
