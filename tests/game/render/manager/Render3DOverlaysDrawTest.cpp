// The 3D view's beams and overlays and the statistics overlays drawn by the
// real graphics service on the offscreen driver, with the art the build
// draws. Each picture is saved in the working folder for a person to look
// at: overlays-beam.png (a frigate's beam on a raider's raised shields, the
// weapon lock and the heading and height overlay), overlays-counter-panel.png
// and overlays-network-stats.png.

#include "engine/base/PerSecondCounterMap.h"
#include "game/net/CorvaneServer.h"
#include "game/net/NetworkIds.h"
#include "game/render/manager/CounterPanelOverlay.h"
#include "game/render/manager/Render3D.h"
#include "game/ui/UITextFit.h"
#include "game/world/ObjectDataBlob.h"
#include "game/world/DataKey.h"
#include "game/world/ShipKeys.h"
#include "tests/support/ConsoleDrawTest.h"
#include "tests/support/GeneratedData.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <string>

namespace {

constexpr int kWidth = 800;
constexpr int kHeight = 450;

class Render3DOverlaysDrawTest : public qeltest::ConsoleDrawTest {
protected:
    Render3DOverlaysDrawTest() : ConsoleDrawTest(kWidth, kHeight) {}

    void SetUp() override
    {
        qeltest::LinkGeneratedData(data);
        qeltest::LinkGeneratedSky(data);
        qeltest::LinkGeneratedRadarArt(data);
        qeltest::LinkInterfaceArt(data, {"grid-particles-ss.png", "smoke-particles2-ss.png", "aster2.png",
                                         "beamSet.png", "no-number-ring.png"});
        ConsoleDrawTest::SetUp();
        PerSecondCounterMap::Instance().Clear();
    }
    void TearDown() override
    {
        PerSecondCounterMap::Instance().Clear();
        ConsoleDrawTest::TearDown();
    }

    void DrawFrame(const std::function<void()>& draw)
    {
        context.Clear();
        theUIContext.BeginFrame();
        draw();
        theUIContext.EndFrame();
        graphics.Flush2D();
        ReadScreen();
    }

    template <typename Test>
    int Count(const IntRect& r, Test test) const
    {
        int count = 0;
        for (int y = r.top; y < r.bottom; ++y)
            for (int x = r.left; x < r.right; ++x)
                count += test(At(x, y));
        return count;
    }

    qeltest::TempFolder data;
    qeltest::ScopedEnv dataDir{"QEL_DATA_DIR", data.Path().string()};
    qeltest::TempFolder settings;
    qeltest::ScopedEnv settingsDir{"QEL_SETTINGS_DIR", settings.Path().string()};
};

TEST_F(Render3DOverlaysDrawTest, a_beam_reaches_from_the_frigate_to_the_raiders_shields_under_the_lock_and_the_overlay)
{
    SpaceObject* ship = Place("behav_playership", "tern_frigate", {0, 0, 0}, 0.0f);
    ship->side = "navy";
    world->subjectID = ship->uniqueID;
    SpaceObject* raider = Place("behav_npcship", "skarn_raider", {60, 45, 250}, 2.5f);
    WriteString(raider->data_set, shipkeys::kNameTag, "Skarn Raider");
    WriteString(raider->data_set, DataKey{"scan", kPlayDoc}, "scanned", ObjectDataBlob::IndexOfString(ship->side));
    WriteUInt64(ship->data_set, shipkeys::kWeaponTargetUid, raider->uniqueID);
    WriteInt(raider->data_set, shipkeys::kShieldCount, 1);
    WriteFloat(raider->data_set, shipkeys::kShieldVal, 80.0f);
    WriteFloat(raider->data_set, shipkeys::kShieldMaxVal, 100.0f);
    WriteInt64(raider->data_set, shipkeys::kShieldsRaisedFlag, 1);
    world->Container()->ReinsertMoved();
    world->clock.time_tick_counter = 100;
    const IntRect whole{0, 0, kWidth, kHeight};
    const auto beamBlue = [](const qeltest::Rgb& c) { return c[2] > 150 && c[2] > c[0] + 80; };
    const auto shieldGreen = [](const qeltest::Rgb& c) { return c[1] > 120 && c[1] > c[0] + 60 && c[1] > c[2] + 60; };

    // Between the frigate's bow and the raider, where only the beam is.
    const IntRect between{kWidth / 2, 125, kWidth / 2 + 60, 185};
    DrawFrame([&] { manager->render3D.Draw(whole, true); });
    const int blueBefore = Count(between, beamBlue);
    const int greenBefore = Count(whole, shieldGreen);

    world->AddEffectEvent("beam", "", "", ship->uniqueID, raider->uniqueID, {}, {}, 1);
    DrawFrame([&] { manager->render3D.Draw(whole, true); });
    world->clock.time_tick_counter += 4;
    DrawFrame([&] { manager->render3D.Draw(whole, true); });
    ASSERT_TRUE(SaveScreen("overlays-beam.png"));
    EXPECT_GT(Count(between, beamBlue), blueBefore + 50) << "the beam in its port's colour";
    EXPECT_GT(Count(whole, shieldGreen), greenBefore + 30) << "the ripple on strong shields";
}

// Locks on ships side by side at the left edge of a view shown at less than
// the target's size: the labels take a face that reads at the view's size
// (a line a twentieth of its height at most, where the full-screen face
// would take a sixth), none covers another, and each stays inside the view.
TEST_F(Render3DOverlaysDrawTest, labels_of_a_small_view_take_a_fitting_face_and_stay_clear_and_inside)
{
    SpaceObject* ship = Place("behav_playership", "tern_frigate", {0, 0, 0}, 0.0f);
    ship->side = "navy";
    world->subjectID = ship->uniqueID;
    const char* names[] = {"Halcyon Station", "Meridian Warden"};
    const DataKey* locks[] = {&shipkeys::kWeaponTargetUid, &shipkeys::kScienceTargetUid};
    for (int i = 0; i < 2; ++i) {
        SpaceObject* other = Place("behav_npcship", "fleet_light_cruiser", {-300.0f, 10.0f * i, 500}, 0.0f);
        WriteString(other->data_set, shipkeys::kNameTag, names[i]);
        WriteString(other->data_set, DataKey{"scan", kPlayDoc}, "scanned", ObjectDataBlob::IndexOfString(ship->side));
        WriteUInt64(ship->data_set, *locks[i], other->uniqueID);
    }
    world->Container()->ReinsertMoved();
    const IntRect view{0, 0, kWidth, kHeight};
    theUIContext.textRuns.runs.clear();
    theUIContext.textRuns.recording = true;
    DrawFrame([&] { manager->render3D.Draw(view, true); });
    theUIContext.textRuns.recording = false;
    ASSERT_TRUE(SaveScreen("overlays-small-view-labels.png"));
    EXPECT_EQ(theUIContext.textRuns.Faults(), "");
    const IntRect crop = Render3D::CropToRect(manager->mainBuffWidth, manager->mainBuffHeight, view);
    const float screenPerTarget = static_cast<float>(view.Height()) / static_cast<float>(crop.Height());
    int shown = 0;
    for (const TextRun& run : theUIContext.textRuns.runs) {
        if (run.text != names[0] && run.text != names[1])
            continue;
        ++shown;
        EXPECT_LE(static_cast<float>(run.ink.Height()) * screenPerTarget, kHeight / 20.0f) << run.text;
        EXPECT_TRUE(run.ink.left >= crop.left && run.ink.right <= crop.right && run.ink.top >= crop.top &&
                    run.ink.bottom <= crop.bottom)
            << run.text << " leaves the view";
    }
    EXPECT_EQ(shown, 2) << "both labels, clear of each other";
}

TEST_F(Render3DOverlaysDrawTest, the_counter_panel_graphs_each_counter_in_its_hue_over_black)
{
    const char* names[] = {"particles/sec", "server send bytes/sec", "1bps"};
    for (int c = 0; c < 3; ++c) {
        PerSecondCounter& counter = PerSecondCounterMap::Instance().GetCounter(names[c]);
        for (int s = 0; s < PerSecondCounter::kBucketCount; ++s) {
            counter.buckets[static_cast<size_t>(s)] = 50.0f + 40.0f * std::sin(0.05f * s + 2.0f * c);
            counter.max = std::max(counter.max, counter.buckets[static_cast<size_t>(s)]);
        }
        counter.currentIndex = 120;
    }
    const IntRect area = RenderManager::PanelOverlayRect(1, kWidth, kHeight);
    DrawFrame([&] { manager->counterPanel->DrawPanelOverlay(area); });
    ASSERT_TRUE(SaveScreen("overlays-counter-panel.png"));
    const IntRect graph{area.left, area.top, area.left + 200, area.bottom};
    // The first counter by name is red, the second green, the third blue.
    const auto strong = [](int channel) {
        return [channel](const qeltest::Rgb& c) {
            return c[channel] > 200 && c[(channel + 1) % 3] < 60 && c[(channel + 2) % 3] < 60;
        };
    };
    for (int channel = 0; channel < 3; ++channel)
        EXPECT_GT(Count(graph, strong(channel)), 150) << "channel " << channel;
    EXPECT_GT(Count(IntRect{area.left + 205, area.top, area.right, area.bottom}, strong(0)), 20) << "the legend";
}

TEST_F(Render3DOverlaysDrawTest, the_network_statistics_show_a_panel_for_each_console)
{
    CorvaneServer server{CorvaneServer::Settings{}};
    gServer = &server;
    for (uint64_t i = 1; i <= 4; ++i) {
        server.HandleClientConnect(kClientIdBit | i);
        ClientRecord* client = server.FindClient(kClientIdBit | i);
        client->consoleName = i == 1 ? "mainscreen" : "helm";
        client->machineName = "bridge-" + std::to_string(i);
        client->ping = 900.0f * static_cast<float>(i);
    }
    DrawFrame([&] { manager->counterPanel->DrawServerStats(IntRect{10, 10, kWidth - 10, kHeight - 10}); });
    gServer = nullptr;
    ASSERT_TRUE(SaveScreen("overlays-network-stats.png"));
    // Four panels of dark green with their response bars.
    const auto panelGreen = [](const qeltest::Rgb& c) { return c[0] < 10 && c[1] > 40 && c[1] < 60 && c[2] < 10; };
    EXPECT_GT(Count(IntRect{0, 0, kWidth, kHeight}, panelGreen), 4 * 300 * 40);
}

}  // namespace
