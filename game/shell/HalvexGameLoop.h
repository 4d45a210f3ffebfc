#pragma once
// The game's side of the engine's frame: start-up, the per-frame and per-tick
// steps of the game singletons in their fixed order, and their deletion. The
// window program and the headless harness both run the game through it, so
// the two cannot drift apart.

#include "engine/base/QelGameLoop.h"
#include "game/net/GameNetwork.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>

class CorvaneClient;
class CorvaneServer;
class DrawDataHullSilhouettes;
class GameMusic;
class HalvexDMX;
class SceneHost;
class ScriptConsoleLog;
class Simulation;

class HalvexGameLoop : public QelGameLoop {
public:
    // What a host may change in the start-up; the game itself takes every
    // setting from the preferences.
    struct Options {
        std::optional<uint16_t> serverPort;  // in place of "serverNetworkPort"; 0: any free port
        bool lanDiscovery = true;            // answer and search the local network
        bool dmxOutput = true;               // drive the lights of an attached USB-DMX interface
        // Makes the host of the scenes (the window program's render manager)
        // when the start-up reaches it, handed the client and the server it
        // shows; none: the game runs without screens.
        std::function<std::unique_ptr<SceneHost>(const GameNetwork& network)> makeSceneHost;
    };

    HalvexGameLoop();
    explicit HalvexGameLoop(const Options& options);
    ~HalvexGameLoop() override;

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

    // This machine's music and lighting, while the game runs.
    GameMusic* Music() const { return music.get(); }
    HalvexDMX* Dmx() const { return dmx.get(); }
    // The world the game runs, from start-up to the deletion of the singletons.
    Simulation* World() const { return world.get(); }

private:
    void CreateSingletons();
    void StartMusicAndLighting();
    void StopMusicAndLighting();
    void ConnectScriptHost();
    void DisconnectScriptHost();
    void ConnectHullSilhouettes();
    void DisconnectHullSilhouettes();
    void LogRefusedMessages() const;

    Options options;
    std::unique_ptr<ScriptConsoleLog> consoleLog;
    std::unique_ptr<CorvaneClient> client;
    std::unique_ptr<CorvaneServer> server;
    std::unique_ptr<SceneHost> scenes;
    std::unique_ptr<Simulation> world;
    std::unique_ptr<GameMusic> music;
    std::unique_ptr<HalvexDMX> dmx;
    std::unique_ptr<DrawDataHullSilhouettes> hullSilhouettes;
};
