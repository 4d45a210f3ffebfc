#pragma once
// Particle bursts and sound files as the server shows and plays them: the
// bodies of the script functions particle_at and play_audio_file, which the
// world's behaviours and the server's commands reach too (through the world's
// particle sink, for the bursts). A burst shows on the server's own 3D view
// and goes to every console; a sound file plays on the server's own speakers
// or on one console's. Main thread only.

#include "game/world/LocalPresentation.h"
#include "game/world/WorldServices.h"

#include <glm/vec3.hpp>

#include <cstdint>
#include <string>

// A burst of the descriptor (a particle style string) at the point, on the
// server's 3D view and every console's. Nothing at all while the server's 3D
// view is not set up.
void ShowParticlesAt(const glm::vec3& position, const std::string& descriptor);

// The sound file (below data/audio/, no extension) at the volume and pitch,
// once: on the server's own speakers for client 0, else on that console's.
// A file the server's sound service does not have is reported in the console
// log; a server without a sound service plays nothing.
void PlayAudioFileFor(uint64_t clientId, const std::string& fileName, float volume, float pitch);

// The world's bursts, shown as particle_at shows them.
class ServerParticleSink : public ParticleSink {
public:
    void ParticleAt(const glm::vec3& position, const std::string& descriptor) override
    {
        ShowParticlesAt(position, descriptor);
    }
};

// The world's jumps as the server machine shows and sounds them: on the
// server's own screen (the mission's server screen) and speakers.
class ServerLocalPresentation : public LocalPresentation {
public:
    void PlayJumpSound(int32_t secondsLeft) override;
    void StartJumpEffect(int32_t seconds) override;
    void PlayAudioFile(const std::string& fileName, float volume, float pitch) override
    {
        PlayAudioFileFor(0, fileName, volume, pitch);
    }
};
