#pragma once
// The game's side of the engine's frame: start-up, the per-frame and per-tick
// steps of the game singletons in their fixed order, and their deletion.

#include "engine/base/QelGameLoop.h"

class HalvexGameLoop : public QelGameLoop {
public:
    void Startup() override;
    void SceneFrameUpdate() override;
    void SimulationFrameUpdate() override;
    void ServerFrameUpdate() override;
    void ClientFrameUpdate() override;
    void SimulationTick(uint32_t stepMilliseconds) override;
    void SceneTick() override;
    void ServerTick() override;
    void ClientTick() override;
    void Draw() override;
    void DeleteSingletons() override;
};
