#pragma once
// The effects the 3D view draws through its Render3DEffects seam, in frame
// order: the render manager owns one and hands it to its Render3D. Each step
// draws what the Render3D's effect fields hold.
//
// Main thread only.

#include "game/render/manager/Render3D.h"

class Render3DEffectsPass : public Render3DEffects {
public:
    explicit Render3DEffectsPass(Render3D& view) : view(view) {}

    void DrawEffectEvents(Render3D& view) override;
    void AddPlanet(const SpaceObject& planet, const PlanetParams& params) override;
    void AddNebulaVolume(const SpaceObject& nebula, NebulaVolumeParams& params) override;
    void DrawMonster(Render3D& view, const SpaceObject& monster) override;
    void DrawParticles(const glm::mat4& viewMatrix) override;
    void DrawPlanets(const glm::mat4& viewMatrix, const glm::vec3& cameraPos, const glm::vec3& cameraDir) override;
    void DrawVolumes(const glm::mat4& viewMatrix, Qel2dBitmap* mainTarget, bool draw) override;
    void Clear() override;

private:
    Render3D& view;
};
