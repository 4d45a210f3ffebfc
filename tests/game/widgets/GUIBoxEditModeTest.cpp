// The widget edit mode on recording services: what the mouse grabs (a near
// corner before a whole box, the later of two boxes), corner and whole-box
// drags in percent of the window, the layout file written once a drag and
// read back after a restart, the reports the mission hears, the scatter key,
// and the frames the mode sits out.

#include "game/widgets/GUIBoxManager.h"

#include "engine/base/QelVirtualKeys.h"
#include "game/ui/UIContext.h"
#include "game/world/AppData.h"
#include "tests/support/GameDataFolder.h"
#include "tests/support/RecordingGraphics2D.h"
#include "tests/support/ScriptedInput.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace {

using qeltest::ScopedEnv;
using qeltest::TempFolder;

constexpr const char* kScreen = "helm";

class GUIBoxEditModeTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        graphics.width = 1000;
        graphics.height = 500;
        gGraphicsFactory = &graphics;
        gInputFactory = &input;
        std::filesystem::create_symlink(qeltest::GameDataFolder() / "preferences.yaml",
                                        folder.Path() / "preferences.yaml");
        AppData::Load();
        theUIContext = UIContext();
        theUIContext.LoadSettings();
        GUIBoxManager::Load(boxEdit);
        // The hot-key table learns the edit key's default at its first query.
        GUIBoxManager::IsEditKeyHeld();
        GUIBoxManager::SetBoxReporter([this](const GUIBoxEditState::Report& report) { reports.push_back(report); });
    }
    void TearDown() override
    {
        GUIBoxManager::SetBoxReporter([](const GUIBoxEditState::Report&) {});
        GUIBoxManager::Load(boxEdit);
        theUIContext = UIContext();
        gGraphicsFactory = nullptr;
        gInputFactory = nullptr;
    }

    static void AddBox(const std::string& widget, IntRect r, const std::string& screen = kScreen)
    {
        const float edges[4] = {float(r.left), float(r.top), float(r.right), float(r.bottom)};
        GUIBoxManager::SetBoxRects(screen, widget, {edges[0], edges[1], edges[2], edges[3], 0, 0, 0, 0});
    }
    static IntRect Rect(const std::string& widget, int layout = 0)
    {
        return GUIBoxManager::FindBox(kScreen, widget)->rect[layout];
    }

    // One frame of the edit mode with the mouse at (x, y).
    void Frame(int32_t x, int32_t y)
    {
        graphics.log.clear();
        input.MoveTo(x, y);
        GUIBoxManager::EditMode(theUIContext, boxEdit, kScreen, nullptr);
        input.NextFrame();
    }
    void HoldEditKey() { input.KeyDown(qel::vk::kSubtract); }

    bool LayoutFileExists() const { return std::filesystem::exists(folder.Path() / "GUIBoxData.txt"); }

    TempFolder folder;
    ScopedEnv dataFolder{"QEL_DATA_DIR", folder.Path().string()};
    qeltest::RecordingGraphics2D graphics;
    qeltest::ScriptedInput input;
    std::vector<GUIBoxEditState::Report> reports;
    GUIBoxEditState boxEdit;  // the console's layout state, fresh for each test
};

TEST_F(GUIBoxEditModeTest, OutlinesAndCaptionsEveryBoxOfTheScreenOnlyWhileTheKeyIsHeld)
{
    AddBox("throttle", {10, 10, 50, 50});
    AddBox("ship_data", {60, 10, 90, 50});
    AddBox("red_alert", {10, 60, 50, 90}, "weapons");
    Frame(0, 0);
    EXPECT_TRUE(graphics.log.empty());

    HoldEditKey();
    Frame(0, 0);
    EXPECT_EQ(graphics.Of(qeltest::DrawRecord::Kind::Line).size(), 8u);
    EXPECT_EQ(graphics.Texts(), (std::vector<std::string>{"ship_data", "throttle"}));
    const qeltest::DrawRecord caption = graphics.Text("throttle");
    EXPECT_EQ(caption.box.left, 100);
    EXPECT_EQ(caption.box.top, 50);
    EXPECT_EQ(caption.layer, GUIBox::kLayer);
}

TEST_F(GUIBoxEditModeTest, ANearCornerWinsOverTheBoxAndTheLaterOfOverlappingBoxesWins)
{
    // Pixels on 1000 x 500: (100, 50)-(500, 250) and (200, 100)-(600, 300).
    AddBox("a_first", {10, 10, 50, 50});
    AddBox("b_second", {20, 20, 60, 60});
    HoldEditKey();
    struct Case {
        int32_t x, y;
        const char* widget;
        int32_t part;
    };
    for (const Case c : {Case{115, 70, "a_first", GUIBoxEditState::kTopLeft},  // 25 px from the corner
                         Case{400, 200, "b_second", GUIBoxEditState::kWholeBox},
                         Case{590, 290, "b_second", GUIBoxEditState::kBottomRight}}) {
        input.Press();
        Frame(c.x, c.y);
        ASSERT_NE(boxEdit.grabbedBox, nullptr);
        EXPECT_EQ(boxEdit.grabbedBox->widgetName, c.widget) << c.x << "," << c.y;
        EXPECT_EQ(boxEdit.grabbedPart, c.part) << c.x << "," << c.y;
        input.Release();
        Frame(c.x, c.y);
    }
}

TEST_F(GUIBoxEditModeTest, ACornerDraggedPastTheOppositeEdgeIsSavedAsDraggedAndOrderedInMemory)
{
    AddBox("throttle", {10, 10, 50, 50});
    HoldEditKey();
    input.Press();
    Frame(100, 50);
    Frame(600, 100);  // 60 %, 20 %: left of the box now lies right of its right edge
    EXPECT_EQ(Rect("throttle"), (IntRect{60, 20, 50, 50}));
    EXPECT_FALSE(LayoutFileExists());
    EXPECT_TRUE(reports.empty());

    input.Release();
    Frame(600, 100);
    EXPECT_EQ(Rect("throttle"), (IntRect{50, 20, 60, 50}));
    EXPECT_NE(folder.Read("GUIBoxData.txt").find("helm\nthrottle\n60\n20\n50\n50\n"), std::string::npos);
    ASSERT_EQ(reports.size(), 1u);
    EXPECT_EQ(reports[0].widgetName, "throttle");
    EXPECT_EQ(reports[0].screenName, kScreen);
    EXPECT_EQ(reports[0].layoutIndex, 0);
    EXPECT_EQ(reports[0].rect, (IntRect{50, 20, 60, 50}));

    // Held frames with nothing changed tell the mission nothing more.
    Frame(700, 300);
    Frame(700, 300);
    EXPECT_EQ(reports.size(), 1u);

    // The layout the crew made is what the next run starts with.
    GUIBoxManager::Load(boxEdit);
    EXPECT_EQ(Rect("throttle"), (IntRect{60, 20, 50, 50}));
}

TEST_F(GUIBoxEditModeTest, AWholeBoxMovesByTheMouseMovementInWholePercent)
{
    AddBox("throttle", {10, 10, 50, 50});
    HoldEditKey();
    input.Press();
    Frame(300, 150);
    Frame(405, 150);  // 105 px of 1000: 10 %
    EXPECT_EQ(Rect("throttle"), (IntRect{20, 10, 60, 50}));
    Frame(300, 200);  // back, and 50 px of 500 down: 10 %
    EXPECT_EQ(Rect("throttle"), (IntRect{10, 20, 50, 60}));
    EXPECT_EQ(Rect("throttle", 1), (IntRect{0, 0, 0, 0}));
    input.Release();
    Frame(300, 200);
    EXPECT_EQ(reports.size(), 1u);
    EXPECT_EQ(reports.back().rect, (IntRect{10, 20, 50, 60}));
}

TEST_F(GUIBoxEditModeTest, ReleasingTheEditKeyMidDragKeepsTheEditUnsavedAndEndsTheDrag)
{
    AddBox("throttle", {10, 10, 50, 50});
    HoldEditKey();
    input.Press();
    Frame(300, 150);
    Frame(400, 150);
    input.KeyUp(qel::vk::kSubtract);
    Frame(500, 150);
    EXPECT_FALSE(boxEdit.dragging);
    EXPECT_EQ(Rect("throttle"), (IntRect{20, 10, 60, 50}));
    EXPECT_FALSE(LayoutFileExists());
    EXPECT_TRUE(reports.empty());
}

TEST_F(GUIBoxEditModeTest, APressOnAnEmptyScreenOrAMinimisedWindowGrabsAndWritesNothing)
{
    AddBox("throttle", {10, 10, 50, 50}, "weapons");
    HoldEditKey();
    input.Press();
    Frame(300, 150);
    EXPECT_EQ(boxEdit.grabbedBox, nullptr);

    AddBox("throttle", {10, 10, 50, 50});
    graphics.width = graphics.height = 0;
    Frame(0, 0);
    EXPECT_TRUE(graphics.log.empty());
    EXPECT_EQ(boxEdit.grabbedBox, nullptr);
    input.Release();
    Frame(0, 0);
    EXPECT_FALSE(LayoutFileExists());
    EXPECT_TRUE(reports.empty());
}

TEST_F(GUIBoxEditModeTest, ReleasingRScattersTheScreensWindowedBoxesOnly)
{
    AddBox("throttle", {-50, 200, 300, 400});
    GUIBoxManager::SetBoxRects(kScreen, "ship_data", {0, 0, 5, 5, 1, 2, 3, 4});
    AddBox("red_alert", {-50, -50, -40, -40}, "weapons");
    HoldEditKey();
    input.KeyDown('R');
    Frame(-100, -100);
    EXPECT_EQ(Rect("throttle"), (IntRect{-50, 200, 300, 400}));
    input.KeyUp('R');
    Frame(-100, -100);
    for (const char* widget : {"throttle", "ship_data"}) {
        const IntRect r = Rect(widget);
        EXPECT_GE(r.left, 1) << widget;
        EXPECT_LE(r.left, 89) << widget;
        EXPECT_GE(r.top, 1) << widget;
        EXPECT_LE(r.top, 89) << widget;
        EXPECT_EQ(r.right - r.left, 10) << widget;
        EXPECT_EQ(r.bottom - r.top, 10) << widget;
    }
    EXPECT_EQ(Rect("ship_data", 1), (IntRect{1, 2, 3, 4}));
    EXPECT_EQ(GUIBoxManager::FindBox("weapons", "red_alert")->rect[0], (IntRect{-50, -50, -40, -40}));
}

}  // namespace
