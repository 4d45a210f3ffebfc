#pragma once
// The 3D view drawn on the offscreen driver: the generated meshes and sky and
// the named interface art linked into the test's own data folder, the game's
// ship list, preferences and interface state loaded, and all of it put back
// afterwards. A test makes its render manager and world as it needs them.

#include "game/render/manager/RenderManager.h"
#include "game/shell/UIContext.h"
#include "game/world/AppData.h"
#include "game/world/ShipData.h"
#include "game/world/Simulation.h"
#include "tests/game/render/manager/Render3DEffectsFixture.h"
#include "tests/support/GeneratedData.h"
#include "tests/support/OffscreenGraphicsTest.h"
#include "tests/support/ScriptedInput.h"

#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace qeltest {

class Render3DDrawFixture : public OffscreenGraphicsTest {
protected:
    Render3DDrawFixture(int width, int height, std::vector<std::string> art)
        : OffscreenGraphicsTest(width, height), art_(std::move(art))
    {
    }

    void SetUp() override
    {
        LinkGeneratedData(data);
        LinkGeneratedSky(data);
        LinkInterfaceArt(data, art_);
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

    TempFolder data;
    ScopedEnv dataDir{"QEL_DATA_DIR", data.Path().string()};
    TempFolder settings;
    ScopedEnv settingsDir{"QEL_SETTINGS_DIR", settings.Path().string()};
    ScriptedInput input;
    std::unique_ptr<RenderManager> manager;
    std::unique_ptr<Simulation> world;

private:
    std::vector<std::string> art_;
};

}  // namespace qeltest
