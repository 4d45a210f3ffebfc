#pragma once
// The 3D view's effects on the recording graphics service, with the game's
// ship list and meshes, ticked through the render manager as the game ticks
// it, and a world to place objects in. The camera starts well away from
// everything, so no particle comes near enough to it to be dropped.

#include "game/render/Particle3DSSManager.h"
#include "game/render/manager/RenderManager.h"
#include "game/world/ShipData.h"
#include "game/world/Simulation.h"
#include "tests/game/ui/UITestFixture.h"
#include "tests/support/GeneratedData.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace qeltest {

inline SceneFunction StayingScene(SceneEvent, SceneState&, RenderManager*)
{
    return StayingScene;
}

class Render3DEffectsFixture : public UITest {
protected:
    void SetUp() override
    {
        qeltest::LinkGeneratedData(data);
        UITest::SetUp();
        ShipData& ships = ShipData::Instance();
        ships.ClearRecords(ships.mainRecords);
        ships.LoadMain();
        manager = std::make_unique<RenderManager>(StayingScene);
        manager->Setup();
        world = std::make_unique<Simulation>();
        world->Reset(false, "");
        // The camera well away from everything, so no particle comes near it.
        view().camera.eye = -glm::vec3(0.0f, 2000.0f, 0.0f);
    }
    void TearDown() override
    {
        manager.reset();
        world.reset();
        ShipData::Instance().ClearRecords(ShipData::Instance().mainRecords);
        UITest::TearDown();
    }

    SpaceObject* Make(const char* behaviour, const char* shipKey, const glm::vec3& at)
    {
        SpaceObject* object = world->GetSpaceObject(world->CreateSpaceObject(behaviour, shipKey, 0));
        world->RepositionSpaceObject(object, at.x, at.y, at.z);
        return object;
    }

    // Ticks until the render manager's tick counter is a multiple of three
    // less one: the next tick adds trail points.
    void TickToBeforeTrailStep()
    {
        while ((manager->tickCounter + 1) % 3 != 0)
            manager->SimTick();
    }

    Render3D& view() { return manager->render3D; }

    std::vector<SpriteSheetParticle> Live(const Particle3DSSManager& ring) const
    {
        std::vector<SpriteSheetParticle> live;
        for (const SpriteSheetParticle& particle : ring.Particles())
            if (particle.age >= 0)
                live.push_back(particle);
        return live;
    }
    size_t Hot() const { return Live(*manager->render3D.hot_particles).size(); }

    qeltest::TempFolder data;
    qeltest::ScopedEnv dataDir{"QEL_DATA_DIR", data.Path().string()};
    qeltest::TempFolder settings;
    qeltest::ScopedEnv settingsFolder{"QEL_SETTINGS_DIR", settings.Path().string()};
    std::unique_ptr<RenderManager> manager;
    std::unique_ptr<Simulation> world;
};

}  // namespace qeltest
