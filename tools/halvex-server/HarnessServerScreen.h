#pragma once
// The server's own screen in the harness: nothing is drawn, but what a
// mission may ask back is kept, as a real screen keeps it: the console it
// chose, whether the warp screen is up, and the 3D view's particle emitters,
// whose ids it hands out and which it ages tick by tick, so that the
// consoles hear of particles and emitters exactly as from a windowed server.

#include "game/script/ServerScreen.h"
#include "game/world/ParticleView.h"

class Simulation;

class HarnessServerScreen : public ServerScreen, private ParticleView {
public:
    void ClearForNewWorld() override { emitters.Clear(); }
    void SetConsole(const std::string& consoleName, const std::vector<std::string>& widgets) override;
    std::string ConsoleName() const override { return consoleName; }
    bool HyperWarpShown() const override { return hyperWarpShown; }
    void ShowHyperWarp(const std::string& /*shipHullKey*/) override { hyperWarpShown = true; }
    void HideHyperWarp() override { hyperWarpShown = false; }
    ParticleView* Particles() override { return this; }

    // The 3D view's tick step: the emitters fire (into nothing) and age.
    void Tick(const Simulation* world);

private:
    void AddParticleEvent(const glm::vec3&, const glm::quat&, const std::string&, const SpaceObject*) override {}
    ParticleEmitters& Emitters() override { return emitters; }

    std::string consoleName;
    bool hyperWarpShown = false;
    ParticleEmitters emitters;
};
