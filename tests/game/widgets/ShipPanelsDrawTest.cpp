// The ship-data panel and the text waterfall drawn by the real graphics
// service on the offscreen driver, with the edit mode's outlines over them:
// a ship with its silhouette and shields, a few mission messages. Saved as
// ship-panels.png in the working folder for a person to look at.

#include "engine/base/QelVirtualKeys.h"
#include "game/behaviours/PlayerShipKeys.h"
#include "game/render/manager/RenderManager.h"
#include "game/ui/TextLog.h"
#include "game/ui/UIContext.h"
#include "game/widgets/GUIBoxManager.h"
#include "game/widgets/ShipDataWidget.h"
#include "game/world/ServerStringMap.h"
#include "game/world/Simulation.h"
#include "tests/support/GameDataFolder.h"
#include "tests/support/GeneratedData.h"
#include "tests/support/ConsoleDrawTest.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace {

constexpr int kWidth = 800;
constexpr int kHeight = 480;
constexpr const char* kScreen = "helm";

class ShipPanelsDrawTest : public qeltest::ConsoleDrawTest {
protected:
    ShipPanelsDrawTest() : ConsoleDrawTest(kWidth, kHeight) {}

    void SetUp() override
    {
        qeltest::LinkGeneratedData(data);
        namespace fs = std::filesystem;
        for (const char* art : {"options_background_image", "shldFace1", "shldFace2", "shldFace3"})
            fs::create_symlink(qeltest::GameDataFolder() / "graphics" / (std::string(art) + ".png"),
                               data.Path() / "graphics" / (std::string(art) + ".png"));
        ConsoleDrawTest::SetUp();
        GUIBoxManager::Load(console.boxEdit);
        theMessageLog.Clear();
    }
    void TearDown() override
    {
        theMessageLog.Clear();
        ServerStringMap::Instance().Clear();
        GUIBoxManager::Load(console.boxEdit);
        ConsoleDrawTest::TearDown();
    }

    void MakeShip()
    {
        SpaceObject* ship = world->GetSpaceObject(world->CreateSpaceObject("behav_playership", "tern_frigate", 0));
        world->subjectID = ship->uniqueID;
        ship->side = "Allied";
        ObjectDataBlob& data = ship->data_set;
        WriteString(data, playership::kNameTag, "Valiant");
        WriteFloat(data, playership::kEnergy, 730.0f);
        WriteString(data, playership::kDockState, "undocked");
        WriteInt(data, playership::kShieldsRaisedFlag, 1);
        WriteInt(data, playership::kShieldCount, 2);
        const float shields[2] = {70.0f, 24.0f};
        for (int32_t i = 0; i < 2; ++i) {
            WriteFloat(data, playership::kShieldVal, shields[i], i);
            WriteFloat(data, playership::kShieldMaxVal, 80.0f, i);
        }
        const float damage[4] = {0.0f, 3.0f, 7.0f, 1.0f};
        for (int32_t j = 0; j < 4; ++j) {
            WriteFloat(data, playership::kSystemDamage, damage[j], j);
            WriteFloat(data, playership::kSystemMaxDamage, 10.0f, j);
        }
        WriteString(data, playership::kTorpedoTypesAvailable, "homing,nuke");
        ServerStringMap::Instance().ApplyReceived("homing", "gui_text:Homing");
        ServerStringMap::Instance().ApplyReceived("nuke", "gui_text:Nuke");
    }

    void Frame(bool editing)
    {
        context.Clear();
        theUIContext.BeginFrame();
        // The backdrop under every layer, the panel's backing art (layer 998) included.
        Qel2dBitmap* white = theUIContext.White();
        ASSERT_NE(white, nullptr);
        white->SetDestRect(0, 0, kWidth, kHeight);
        const glm::vec4 backdrop{0.03f, 0.05f, 0.08f, 1};
        white->DrawQuad(&backdrop[0], 0, false);
        GUIBoxManager::DrawConsoleBoxes(console, kScreen, {"ship_data", "text_waterfall"});
        if (editing) {
            input.KeyDown(qel::vk::kSubtract);
            input.MoveTo(480, 300);
        }
        GUIBoxManager::EditMode(console.UI(), console.boxEdit, kScreen, console.renderer);
        theUIContext.EndFrame();
        graphics.Flush2D();
        input.NextFrame();
        ReadScreen();
    }

    qeltest::TempFolder data;
    qeltest::ScopedEnv dataFolder{"QEL_DATA_DIR", data.Path().string()};
    qeltest::TempFolder settings;
    qeltest::ScopedEnv settingsFolder{"QEL_SETTINGS_DIR", settings.Path().string()};
};

TEST_F(ShipPanelsDrawTest, TheShipPanelAndTheMessagesShowOnAConsole)
{
    MakeShip();
    GUIBoxManager::SetBoxRects(kScreen, "ship_data", {2, 2, 40, 50, 2, 2, 40, 50});
    GUIBoxManager::SetBoxRects(kScreen, "text_waterfall", {45, 50, 98, 96, 45, 50, 98, 96});
    theMessageLog.Add({0.6f, 0.9f, 1.0f, 1.0f}, "Starbase Kestrel: docking lanes are open.");
    theMessageLog.Add({1.0f, 0.8f, 0.2f, 1.0f},
                      "Science: three unknown contacts closing from bearing 040, range eight thousand.");
    theMessageLog.Add({1.0f, 0.3f, 0.3f, 1.0f}, "Hull breach on deck four.");
    Frame(false);
    ASSERT_TRUE(SaveScreen("ship-panels.png"));

    // The panel's silhouette and text lie over the dark backdrop; the waterfall's
    // newest line sits at its bottom.
    const qeltest::Rgb backdrop{8, 13, 20};
    int lit = 0;
    for (int y = 10; y < 240; ++y)
        for (int x = 16; x < 320; ++x) {
            const qeltest::Rgb c = At(x, y);
            lit += std::abs(c[0] - backdrop[0]) + std::abs(c[1] - backdrop[1]) + std::abs(c[2] - backdrop[2]) > 60;
        }
    EXPECT_GT(lit, 2000);

    Frame(true);
    ASSERT_TRUE(SaveScreen("ship-panels-edit.png"));
}

}  // namespace
