// The ship librarian on recording services, over a copy of the game's ship
// data: it reloads the data when the file is newer than its marker, and a
// file that no longer loads is reported in its log while the records in
// memory stay.

#include "engine/base/QelVirtualKeys.h"
#include "game/shell/scenes/Scenes.h"
#include "game/shell/scenes/ShellState.h"
#include "game/world/ShipData.h"
#include "tests/game/ui/UITestFixture.h"
#include "tests/support/GameDataFolder.h"
#include "tests/support/TempFolder.h"

#include <chrono>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

namespace {

namespace fs = std::filesystem;

constexpr int32_t kReloadKey = qel::vk::kLetterA + ('R' - 'A');
constexpr int kTicksBetweenChecks = 61;

class SceneShipLibrarianModeTest : public UITest {
protected:
    void SetUp() override
    {
        fs::copy_file(qeltest::GameDataFolder() / "shipData.yaml", ShipDataFile());
        fs::copy_file(qeltest::GameDataFolder() / "preferences.yaml", data.Path() / "preferences.yaml");
        UITest::SetUp();
        ShipData::Instance().ClearRecords(ShipData::Instance().mainRecords);
        ShipData::Instance().LoadMain();
        SceneShipLibrarianMode(SCENE_ENTER, shell, nullptr);
    }

    void TearDown() override
    {
        SceneShipLibrarianMode(SCENE_LEAVE, shell, nullptr);
        ShipData::Instance().ClearRecords(ShipData::Instance().mainRecords);
        UITest::TearDown();
    }

    fs::path ShipDataFile() const { return data.Path() / "shipData.yaml"; }

    std::string Text() const
    {
        std::ifstream in(ShipDataFile(), std::ios::binary);
        std::stringstream text;
        text << in.rdbuf();
        return text.str();
    }

    // Rewrites the ship data with a time clearly after the marker's.
    void Rewrite(const std::string& text)
    {
        std::ofstream(ShipDataFile(), std::ios::binary | std::ios::trunc) << text;
        fs::last_write_time(ShipDataFile(), fs::last_write_time(data.Path() / "timeMarker.txt") + std::chrono::seconds(5));
    }

    void RunTicks(int ticks)
    {
        for (int tick = 0; tick < ticks; ++tick)
            SceneShipLibrarianMode(SCENE_TICK, shell, nullptr);
    }

    bool LogSays(const std::string& part)
    {
        bool found = false;
        Frame([&] { SceneShipLibrarianMode(SCENE_DRAW, shell, nullptr); });
        for (const qeltest::DrawRecord& record : graphics.log)
            found = found || (record.kind == qeltest::DrawRecord::Kind::Text && record.text.find(part) != std::string::npos);
        return found;
    }

    float MeshScaleOf(const std::string& key) { return ShipData::Instance().FindDefined(key)->meshScale; }

    qeltest::TempFolder data;
    qeltest::ScopedEnv dataFolder{"QEL_DATA_DIR", data.Path().string()};
    ShellState shell;
};

TEST_F(SceneShipLibrarianModeTest, an_outside_edit_is_read_at_the_next_look_at_the_file_times)
{
    ASSERT_TRUE(fs::exists(data.Path() / "timeMarker.txt")) << "the marker is written on entering";
    std::string text = Text();
    const std::string from = "meshscale: 0.5";  // the fighter's
    ASSERT_NE(text.find(from), std::string::npos);
    text.replace(text.find(from), from.size(), "meshscale: 0.75");
    Rewrite(text);

    RunTicks(kTicksBetweenChecks - 1);
    EXPECT_EQ(MeshScaleOf("kestrel_fighter"), 0.5f) << "not before the 61st tick";
    RunTicks(1);
    EXPECT_EQ(MeshScaleOf("kestrel_fighter"), 0.75f);
    EXPECT_TRUE(LogSays("Reloaded"));
}

TEST_F(SceneShipLibrarianModeTest, a_file_that_no_longer_loads_is_reported_and_the_records_stay)
{
    Rewrite("{ \"#ship-list\": [ { key: \"broken\" ");
    input.KeyDown(kReloadKey);
    input.KeyUp(kReloadKey);
    SceneShipLibrarianMode(SCENE_FRAME, shell, nullptr);

    EXPECT_TRUE(LogSays("did not load"));
    ASSERT_NE(ShipData::Instance().FindDefined("kestrel_fighter"), nullptr);
    EXPECT_EQ(MeshScaleOf("kestrel_fighter"), 0.5f);
    RunTicks(kTicksBetweenChecks);
    EXPECT_NE(ShipData::Instance().FindDefined("kestrel_fighter"), nullptr) << "the marker was renewed: no retry loop";
}

}  // namespace
