#pragma once
// Drawing with the real graphics service on the offscreen driver, with the
// game's ship records, preferences and interface state loaded and a scripted
// input; the render manager and world a test makes are released, and the
// state put back, afterwards.

#include "game/render/manager/RenderManager.h"
#include "game/ui/UIContext.h"
#include "game/world/AppData.h"
#include "game/world/ShipData.h"
#include "game/world/Simulation.h"
#include "tests/support/OffscreenGraphicsTest.h"
#include "tests/support/ScriptedInput.h"

#include <memory>

namespace qeltest {

class GameDrawTest : public OffscreenGraphicsTest {
protected:
    GameDrawTest(int width, int height) : OffscreenGraphicsTest(width, height) {}

    void SetUp() override
    {
        OffscreenGraphicsTest::SetUp();
        ShipData& ships = ShipData::Instance();
        ships.ClearRecords(ships.mainRecords);
        ships.LoadMain();
        gInputFactory = &input;
        AppData::Load();
        theUIContext = UIContext();
    }
    void TearDown() override
    {
        manager.reset();
        world.reset();
        theUIContext = UIContext();
        gInputFactory = nullptr;
        ShipData::Instance().ClearRecords(ShipData::Instance().mainRecords);
        OffscreenGraphicsTest::TearDown();
    }

    // A render manager that stays in the scene it is given.
    static SceneFunction StayingScene(SceneEvent, SceneState&, RenderManager*) { return StayingScene; }

    ScriptedInput input;
    std::unique_ptr<RenderManager> manager;
    std::unique_ptr<Simulation> world;
};

}  // namespace qeltest
