#pragma once
// What the world asks of the subsystems above it, other than script events:
// the server's queue of objects to destroy, its science scans, particle
// effects, and the consoles' message log. Each is implemented where it lives (server, effects,
// shell); a world without one simply skips the call, as a client or a test
// world does.

#include <cstdint>
#include <string>

#include <glm/vec3.hpp>

// The server's pending destroys: objects judged dead are never freed where
// they die but queued here; the server's frame step tells the clients, raises
// the "destroyed" event and deletes them.
class PendingDestroySink {
public:
    virtual ~PendingDestroySink() = default;
    virtual void QueueDestroy(uint64_t spaceObjectId) = 0;
};

// The server's science: each player ship's queue of scans its science
// consoles asked for (oldest first), and the scans completed, whose targets
// the server sends whole to the scanning ship's consoles.
class ScienceScanSink {
public:
    virtual ~ScienceScanSink() = default;
    // The ship's oldest queued scan; false when it has none.
    virtual bool FirstQueuedScan(uint64_t shipId, uint64_t& targetId, std::string& scanType) = 0;
    // Forgets every queued scan of the ship for that target and type.
    virtual void DropQueuedScans(uint64_t shipId, uint64_t targetId, const std::string& scanType) = 0;
    virtual void ScanCompleted(uint64_t targetId, uint64_t shipId) = 0;
};

// Particle bursts at a point, described by a style string ("color:...;
// lifespan:...; count:..."); the server forwards them to every client.
class ParticleSink {
public:
    virtual ~ParticleSink() = default;
    virtual void ParticleAt(const glm::vec3& position, const std::string& descriptor) = 0;
};

// Visible effects (beam shots, lightning, blasts, deaths): the server records
// each in its own world and announces it to every console as "beam".
class EffectBroadcast {
public:
    virtual ~EffectBroadcast() = default;
    virtual void SendBeam(const std::string& kind, const std::string& secondText, const std::string& thirdText,
                          uint64_t firstId, uint64_t secondId, const glm::vec3& firstPoint,
                          const glm::vec3& secondPoint, int32_t value) = 0;
};

// The consoles' message text box, which a new game starts empty.
class ConsoleMessageLog {
public:
    virtual ~ConsoleMessageLog() = default;
    virtual void Clear() = 0;
};
