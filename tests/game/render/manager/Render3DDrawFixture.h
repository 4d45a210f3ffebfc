#pragma once
// The 3D view drawn on the offscreen driver, from a data folder of the
// test's own holding the generated meshes and sky and the named interface
// art. A test makes its render manager and world as it needs them.

#include "tests/support/GameDrawTest.h"
#include "tests/support/GeneratedData.h"

#include <string>
#include <utility>
#include <vector>

namespace qeltest {

class Render3DDrawFixture : public GameDrawTest {
protected:
    Render3DDrawFixture(int width, int height, std::vector<std::string> art)
        : GameDrawTest(width, height), art_(std::move(art))
    {
    }

    void SetUp() override
    {
        LinkGeneratedData(data);
        LinkGeneratedSky(data);
        LinkInterfaceArt(data, art_);
        GameDrawTest::SetUp();
    }

    TempFolder data;
    ScopedEnv dataDir{"QEL_DATA_DIR", data.Path().string()};
    TempFolder settings;
    ScopedEnv settingsDir{"QEL_SETTINGS_DIR", settings.Path().string()};

private:
    std::vector<std::string> art_;
};

}  // namespace qeltest
