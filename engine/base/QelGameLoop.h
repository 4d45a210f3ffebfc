#pragma once
// What the engine's frame asks of the game. The engine owns the order of the
// calls (see QelFrameLoop and QelRunLoop); the game owns what each step does.
// Keeping the game behind this seam is what lets the engine never include game/.

#include <cstdint>

class QelGameLoop {
public:
    virtual ~QelGameLoop() = default;

    // Game start-up, once, before the first frame.
    virtual void Startup() = 0;

    // Per-frame steps, called in this order before the fixed steps.
    virtual void SceneFrameUpdate() = 0;       // the current scene's input step
    virtual void SimulationFrameUpdate() = 0;  // pending objects enter the world
    virtual void ServerFrameUpdate() = 0;      // received messages, replication
    virtual void ClientFrameUpdate() = 0;      // received messages, per-frame update

    // One fixed step, in this order.
    virtual void SimulationTick(uint32_t stepMilliseconds) = 0;
    virtual void SceneTick() = 0;
    virtual void ServerTick() = 0;
    virtual void ClientTick() = 0;

    // The scene's draw, between the clear and the present.
    virtual void Draw() = 0;

    // Deletes the game's singletons at the end of the run, in the order
    // scene renderer, world, server, client; each only if it exists.
    virtual void DeleteSingletons() = 0;
};
