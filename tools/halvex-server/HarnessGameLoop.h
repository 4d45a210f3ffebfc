#pragma once
// The game's loop as the harness runs it: the game's own start-up, steps and
// deletion, then hosting and the mission started at once (where the game
// waits for its set-up scene), the hand-over to the next mission a script
// asks for in the frame step (where the game's running scenes make it), and
// an optional bound on the ticks run. Hull
// silhouettes for ship interiors come from the data folder's images; the
// server's own screen is a quiet one that draws nothing.

#include "game/shell/HalvexGameLoop.h"
#include "tools/halvex-server/HarnessHullSilhouettes.h"
#include "tools/halvex-server/HarnessOptions.h"
#include "tools/halvex-server/HarnessServerScreen.h"

#include <cstdint>
#include <optional>
#include <string>

class HarnessGameLoop : public QelGameLoop {
public:
    HarnessGameLoop(uint16_t port, HostedMission mission, std::optional<int64_t> tickLimit);

    int64_t TicksRun() const { return ticksRun; }
    bool ReachedTickLimit() const { return tickLimit && ticksRun >= *tickLimit; }

    // Hosts on the port and starts the mission; a mission that cannot start
    // throws with the reason (the Python traceback for a script error).
    void Startup() override;
    // Hands over to the mission the script named with run_next_mission; one
    // that cannot start ends the run with the reason.
    void SceneFrameUpdate() override;
    void SimulationFrameUpdate() override { game.SimulationFrameUpdate(); }
    void ServerFrameUpdate() override { game.ServerFrameUpdate(); }
    void ClientFrameUpdate() override { game.ClientFrameUpdate(); }
    // A tick past the limit is skipped whole, all four of its steps.
    void SimulationTick(uint32_t stepMilliseconds) override;
    void SceneTick() override;
    void ServerTick() override;
    void ClientTick() override;
    void Draw() override { game.Draw(); }
    void DeleteSingletons() override;

private:
    void StartMission();

    HalvexGameLoop game;
    HarnessHullSilhouettes hullSilhouettes;
    HarnessServerScreen serverScreen;
    HostedMission mission;
    std::optional<int64_t> tickLimit;
    int64_t ticksRun = 0;
    bool skippingTick = false;
};
