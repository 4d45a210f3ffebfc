// The counter panel and the network statistics, headless on the recording
// graphics service: graph colours and scale, the legend that grows under the
// pointer, and one console's panel with its name field, ship and response.

#include "game/render/manager/CounterPanelOverlay.h"

#include "engine/base/PerSecondCounterMap.h"
#include "game/net/CorvaneServer.h"
#include "game/net/NetworkIds.h"
#include "game/render/manager/RenderManager.h"
#include "game/world/DataKey.h"
#include "game/world/Simulation.h"
#include "tests/game/ui/UITestFixture.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

using qeltest::DrawRecord;

SceneFunction StayingScene(SceneEvent, SceneState&, RenderManager*)
{
    return StayingScene;
}

class CounterPanelOverlayTest : public UITest {
protected:
    void SetUp() override
    {
        UITest::SetUp();
        PerSecondCounterMap::Instance().Clear();
        manager = std::make_unique<RenderManager>(StayingScene);
    }
    void TearDown() override
    {
        PerSecondCounterMap::Instance().Clear();
        manager.reset();
        UITest::TearDown();
    }

    // A counter whose buckets hold the values, the newest running second
    // last.
    static void Counter(const std::string& name, const std::vector<float>& seconds)
    {
        PerSecondCounter& counter = PerSecondCounterMap::Instance().GetCounter(name);
        for (size_t i = 0; i < seconds.size(); ++i) {
            counter.buckets[i] = seconds[i];
            counter.max = std::max(counter.max, seconds[i]);
        }
        counter.currentIndex = static_cast<int32_t>(seconds.size()) - 1;
    }
    std::vector<DrawRecord> Lines() const { return graphics.Of(DrawRecord::Kind::Line); }
    std::vector<DrawRecord> Texts() const { return graphics.Of(DrawRecord::Kind::Text); }
    bool Shows(const std::string& text) const
    {
        const std::vector<DrawRecord> texts = Texts();
        return std::any_of(texts.begin(), texts.end(), [&](const DrawRecord& r) { return r.text == text; });
    }

    CounterPanelOverlay& overlay() { return *manager->counterPanel; }

    qeltest::TempFolder settings;
    qeltest::ScopedEnv settingsFolder{"QEL_SETTINGS_DIR", settings.Path().string()};
    std::unique_ptr<RenderManager> manager;
    const IntRect area{100, 50, 700, 110};  // three legend rows
};

TEST_F(CounterPanelOverlayTest, counters_take_hues_round_the_circle_and_graph_their_seconds_oldest_first)
{
    Counter("a", {10, 20, 40, 5});
    Counter("b", {1});
    Counter("c", {0, 0, 0});  // never counted: no scale, no line, but a colour and a row
    Frame([&] { overlay().DrawPanelOverlay(area); });

    std::vector<glm::vec4> colours;
    for (const DrawRecord& line : Lines())
        if (std::find(colours.begin(), colours.end(), line.colour) == colours.end())
            colours.push_back(line.colour);
    EXPECT_EQ(colours, (std::vector<glm::vec4>{{1, 0, 0, 1}, {0, 1, 0, 1}}));
    EXPECT_EQ(Lines().size(), 2u * 199u);

    // Counter "a": column 0 is the second after the running one (empty), the
    // last columns its 10, 20 and 40 (the largest, at the top); the running
    // second is not drawn.
    const std::vector<DrawRecord> a = graphics.Where(
        [](const DrawRecord& r) { return r.kind == DrawRecord::Kind::Line && r.colour == glm::vec4(1, 0, 0, 1); });
    ASSERT_EQ(a.size(), 199u);
    EXPECT_EQ(a[0].dest[0], 100.0f);
    EXPECT_EQ(a[0].dest[3], 110.0f);
    EXPECT_EQ(a[196].dest[3], 110.0f - 15.0f);
    EXPECT_EQ(a[197].dest[3], 110.0f - 30.0f);
    EXPECT_EQ(a[198].dest[0], 298.0f);
    EXPECT_EQ(a[198].dest[3], 50.0f);
    EXPECT_EQ(a[198].dest[1], 51.0f);

    // The legend: the last complete second, then the name, in its colour.
    EXPECT_TRUE(Shows("40"));
    EXPECT_TRUE(Shows("c"));
    const std::vector<DrawRecord> texts = Texts();
    const auto name = std::find_if(texts.begin(), texts.end(), [](const DrawRecord& r) { return r.text == "b"; });
    ASSERT_NE(name, texts.end());
    EXPECT_EQ(name->colour, glm::vec4(0, 1, 0, 1));
    EXPECT_EQ(name->box.left, 405);
    EXPECT_EQ(name->box.top, 70);
}

TEST_F(CounterPanelOverlayTest, a_legend_longer_than_the_panel_shows_what_fits_until_the_pointer_is_over_it)
{
    for (const char* name : {"a", "b", "c", "d", "e"})
        Counter(name, {1, 2});
    Frame([&] { overlay().DrawPanelOverlay(area); });
    EXPECT_TRUE(Shows("c"));
    EXPECT_FALSE(Shows("d"));
    EXPECT_EQ(overlay().PanelContentHeight(), 50 + 5 * 20 + 2);

    input.mouse.x = 400;
    input.mouse.y = 80;
    Frame([&] { overlay().DrawPanelOverlay(area); });
    EXPECT_TRUE(Shows("e"));
    const std::vector<DrawRecord> fills = graphics.Where([](const DrawRecord& r) {
        return r.kind == DrawRecord::Kind::Quad && r.colour == glm::vec4(0, 0, 0, 1);
    });
    ASSERT_FALSE(fills.empty());
    EXPECT_EQ(fills[0].Bottom(), 152.0f);  // grown to the legend's end
}

class NetworkStatsTest : public CounterPanelOverlayTest {
protected:
    void SetUp() override
    {
        CounterPanelOverlayTest::SetUp();
        gServer = &server;
        server.SetWorld(&world);
        world.Reset(true, "");
        server.HandleClientConnect(kClientIdBit | 7);
        client = server.FindClient(kClientIdBit | 7);
        client->consoleName = "helm";
        client->machineName = "bridge-2";
    }
    void TearDown() override
    {
        gServer = nullptr;
        CounterPanelOverlayTest::TearDown();
    }

    CorvaneServer server{CorvaneServer::Settings{}};
    Simulation world;
    ClientRecord* client = nullptr;
    const IntRect panel{0, 0, 400, 80};
};

TEST_F(NetworkStatsTest, a_console_panel_names_its_ship_or_the_lack_of_one_and_its_response_in_a_bar)
{
    client->ping = 2500.0f;
    Frame([&] { overlay().DrawNetworkStats(panel, *client); });
    EXPECT_TRUE(Shows("7: helm^no ship assigned"));
    EXPECT_TRUE(Shows("2500ms network response"));
    const auto bar = [&](const glm::vec4& colour) {
        return graphics.Where([&](const DrawRecord& r) { return r.kind == DrawRecord::Kind::Quad && r.colour == colour; });
    };
    ASSERT_EQ(bar({0.5f, 0.5f, 0, 1}).size(), 1u);
    EXPECT_EQ(bar({0.5f, 0.5f, 0, 1})[0].Left(), 2.0f);
    EXPECT_EQ(bar({0.5f, 0.5f, 0, 1})[0].Right(), 2.0f + 396.0f / 2);

    const uint64_t shipId = world.CreateSpaceObject("behav_playership", "", 0);
    WriteString(world.GetSpaceObject(shipId)->data_set, DataKey{"name_tag", kPlayDoc}, "Vigil");
    client->shipId = shipId;
    client->ping = 6000.0f;
    Counter("7bps", std::vector<float>(12, 55.0f));
    Frame([&] { overlay().DrawNetworkStats(panel, *client); });
    EXPECT_TRUE(Shows("7: helm^aboard Vigil"));
    EXPECT_TRUE(Shows("55 ave bytes/sec sent"));
    EXPECT_EQ(bar({1, 0, 0, 1}).size(), 1u);

    // The ship gone, the panel says so again.
    world.DeleteSpaceObject(shipId);
    Frame([&] { overlay().DrawNetworkStats(panel, *client); });
    EXPECT_TRUE(Shows("7: helm^no ship assigned"));
}

TEST_F(NetworkStatsTest, typing_in_the_name_field_renames_the_console_at_every_key)
{
    Frame([&] { overlay().DrawNetworkStats(panel, *client); });
    EXPECT_EQ(manager->clientNameFields.at(client->id)->text, "bridge-2");
    // Focus the field, then type.
    input.mouse.x = 20;
    input.mouse.y = 20;
    input.Press();
    Frame([&] { overlay().DrawNetworkStats(panel, *client); });
    input.Release();
    Frame([&] { overlay().DrawNetworkStats(panel, *client); });
    input.Type("X");
    Frame([&] { overlay().DrawNetworkStats(panel, *client); });
    EXPECT_EQ(client->machineName, manager->clientNameFields.at(client->id)->text);
    EXPECT_NE(client->machineName, "bridge-2");
}

TEST_F(NetworkStatsTest, panels_fill_rows_of_405_pixels_then_start_a_row_85_lower)
{
    for (uint64_t i = 8; i < 13; ++i)
        server.HandleClientConnect(kClientIdBit | i);
    Frame([&] { overlay().DrawServerStats(IntRect{30, 30, 1250, 700}); });
    std::vector<glm::vec2> corners;
    for (const DrawRecord& r : graphics.Where([](const DrawRecord& r) {
             return r.kind == DrawRecord::Kind::Quad && r.colour == glm::vec4(0, 0.2f, 0, 1);
         }))
        corners.emplace_back(r.Left(), r.Top());
    EXPECT_EQ(corners, (std::vector<glm::vec2>{{33, 33}, {438, 33}, {843, 33}, {33, 118}, {438, 118}, {843, 118}}));
}

}  // namespace
