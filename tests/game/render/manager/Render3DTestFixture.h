#pragma once
// The 3D view headless, on the recording graphics service: the game's ship
// list and generated meshes in a data folder of the test's own (where what
// the draw data makes of them is written), a set-up render manager, and a
// world with the crew's ship in it.

#include "game/render/manager/RenderManager.h"
#include "game/world/ShipData.h"
#include "game/world/Simulation.h"
#include "tests/game/shell/UITestFixture.h"
#include "tests/support/GeneratedData.h"
#include "tests/support/TempFolder.h"

#include <memory>

class Render3DTestFixture : public UITest {
protected:
    static SceneFunction StayingScene(SceneEvent) { return StayingScene; }

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
        ship = Make("behav_playership", "tern_frigate", {100, 0, 50});
        world->subjectID = ship->uniqueID;
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

    qeltest::TempFolder data;
    qeltest::ScopedEnv dataDir{"QEL_DATA_DIR", data.Path().string()};
    qeltest::TempFolder settings;
    qeltest::ScopedEnv settingsFolder{"QEL_SETTINGS_DIR", settings.Path().string()};
    std::unique_ptr<RenderManager> manager;
    std::unique_ptr<Simulation> world;
    SpaceObject* ship = nullptr;
};
