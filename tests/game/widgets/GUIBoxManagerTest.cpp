// The console boxes: the widget table and its list file, boxes drawn at their
// default grid place or where they were put, the pixel rectangles widgets
// get, the rectangles the mission sets, the layout index, and the layout file
// written and read back.

#include "game/net/ConsoleCatalogue.h"
#include "game/widgets/ConsoleState.h"
#include "game/widgets/GUIBoxManager.h"

#include "game/widgets/WidgetTable.h"
#include "tests/support/QuietGraphics.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <limits>
#include <sstream>

namespace {

using qeltest::ScopedEnv;
using qeltest::TempFolder;

class SizedGraphics : public qeltest::QuietGraphics {
public:
    int GetWidth() override { return width; }
    int GetHeight() override { return height; }
    int width = 1024;
    int height = 768;
};

struct DrawCall {
    IntRect rect;
    std::string widget;
};
std::vector<DrawCall> drawCalls;

void RecordDraw(ConsoleState&, IntRect& rect, std::string widgetName)
{
    drawCalls.push_back({rect, widgetName});
}

std::vector<std::string> Lines(const std::string& text)
{
    std::vector<std::string> lines;
    std::istringstream stream(text);
    for (std::string line; std::getline(stream, line);)
        lines.push_back(line);
    return lines;
}

class GUIBoxManagerTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        gGraphicsFactory = &graphics;
        GUIBoxManager::Load(console.boxEdit);  // no file: no boxes
        drawCalls.clear();
        // Two widgets of the table draw into the recorder for the test.
        for (const char* name : kRecorded) {
            saved.emplace_back(GUIBoxManager::FindWidget(name), GUIBoxManager::WidgetDocumentation().at(name));
            GUIBoxManager::RegisterWidget(name, RecordDraw, saved.back().second);
        }
    }
    void TearDown() override
    {
        for (size_t i = 0; i < saved.size(); ++i)
            GUIBoxManager::RegisterWidget(kRecorded[i], saved[i].first, saved[i].second);
        GUIBoxManager::Load(console.boxEdit);
        gGraphicsFactory = nullptr;
    }

    std::string LayoutFile() const { return folder.Read("GUIBoxData.txt"); }

    static constexpr const char* kRecorded[] = {"throttle", "ship_data"};
    std::vector<std::pair<WidgetDrawFn, std::string>> saved;
    ConsoleState console;
    TempFolder folder;
    ScopedEnv dataFolder{"QEL_DATA_DIR", folder.Path().string()};
    SizedGraphics graphics;
};

TEST_F(GUIBoxManagerTest, every_console_widget_is_registered_and_listed_in_byte_order)
{
    // The catalogue a mission's names are checked against and the draw
    // functions are one list of names.
    ASSERT_EQ(ConsoleWidgetNames().size(), 41u);
    ASSERT_EQ(ConsoleWidgetDraws().size(), ConsoleWidgetNames().size());
    for (const ConsoleWidgetName& widget : ConsoleWidgetNames())
        EXPECT_NE(GUIBoxManager::FindWidget(widget.name), nullptr) << widget.name;
    for (const ConsoleWidgetDraw& row : ConsoleWidgetDraws())
        EXPECT_TRUE(IsConsoleWidgetName(row.name)) << row.name;
    EXPECT_EQ(GUIBoxManager::FindWidget("no_such_widget"), nullptr);

    GUIBoxManager::SaveWidgetList();
    const std::vector<std::string> lines = Lines(folder.Read("GUIWidgetList.txt"));
    ASSERT_EQ(lines.size(), 41u);
    EXPECT_EQ(lines.front(), "2dview        draws the 2d radar showing all the space objects");
    EXPECT_TRUE(std::is_sorted(lines.begin(), lines.end()));
    const auto at = [&](const std::string& name) {
        return std::find_if(lines.begin(), lines.end(),
                            [&](const std::string& line) { return line.rfind(name + "        ", 0) == 0; });
    };
    EXPECT_LT(at("3dview"), at("3dview_camera"));
    EXPECT_LT(at("weap_torp_conversion"), at("weapon_2d_view"));
    EXPECT_NE(at("helm_movement"), lines.end());
    EXPECT_NE(at("helm_normal"), lines.end());
}

TEST_F(GUIBoxManagerTest, a_new_box_starts_at_its_default_and_keeps_its_place_afterwards)
{
    GUIBoxManager::DrawBox(console, "helm", "throttle", IntRect{10, 10, 50, 90});
    GUIBoxManager::DrawBox(console, "helm", "throttle", IntRect{0, 0, 100, 100});
    ASSERT_EQ(drawCalls.size(), 2u);
    for (const DrawCall& call : drawCalls) {
        EXPECT_EQ(call.rect, (IntRect{102, 76, 512, 691}));  // 1024 × 768
        EXPECT_EQ(call.widget, "throttle");
    }
    EXPECT_EQ(console.currentWidgetName, "throttle");
    ASSERT_NE(GUIBoxManager::FindBox("helm", "throttle"), nullptr);
    EXPECT_EQ(GUIBoxManager::FindBox("helm", "throttle")->rect[1], (IntRect{10, 10, 50, 90}));

    // A widget nobody registered gets its box but draws nothing.
    GUIBoxManager::DrawBox(console, "helm", "no_such_widget", IntRect{1, 2, 3, 4});
    EXPECT_EQ(drawCalls.size(), 2u);
    EXPECT_NE(GUIBoxManager::FindBox("helm", "no_such_widget"), nullptr);
}

TEST_F(GUIBoxManagerTest, boxes_are_told_apart_by_screen_and_widget_not_by_their_joined_names)
{
    GUIBoxManager::SetBoxRects("ab", "c", {1, 1, 1, 1, 1, 1, 1, 1});
    GUIBoxManager::SetBoxRects("a", "bc", {2, 2, 2, 2, 2, 2, 2, 2});
    ASSERT_EQ(GUIBoxManager::Boxes().size(), 2u);
    EXPECT_EQ(GUIBoxManager::FindBox("ab", "c")->rect[0].left, 1);
    EXPECT_EQ(GUIBoxManager::FindBox("a", "bc")->rect[0].left, 2);

    GUIBoxManager::Save();
    GUIBoxManager::Load(console.boxEdit);
    ASSERT_EQ(GUIBoxManager::Boxes().size(), 2u);
    EXPECT_EQ(GUIBoxManager::FindBox("ab", "c")->rect[1].bottom, 1);
    EXPECT_EQ(GUIBoxManager::FindBox("a", "bc")->rect[1].bottom, 2);
}

TEST_F(GUIBoxManagerTest, widgets_get_ordered_pixel_rectangles_of_the_layout_shown)
{
    GUIBoxManager::SetBoxRects("helm", "throttle", {60, 90, 20, 10, 0, 0, 50, 50});
    GUIBoxManager::DrawBox(console, "helm", "throttle", IntRect{});
    ASSERT_EQ(drawCalls.size(), 1u);
    EXPECT_EQ(drawCalls[0].rect, (IntRect{204, 76, 614, 691}));
    EXPECT_EQ(GUIBoxManager::FindBox("helm", "throttle")->rect[0], (IntRect{60, 90, 20, 10}));

    console.boxEdit.layoutIndex = 1;
    GUIBoxManager::DrawBox(console, "helm", "throttle", IntRect{});
    EXPECT_EQ(drawCalls[1].rect, (IntRect{0, 0, 512, 384}));

    // 1024 × 33 / 100 = 337.92: truncated.
    GUIBox box;
    box.rect[0] = {33, -33, 0, 0};
    EXPECT_EQ(GUIBoxManager::BoxRectToPixels(box, 0), (IntRect{337, -253, 0, 0}));
}

TEST_F(GUIBoxManagerTest, rectangles_set_for_a_box_are_truncated_and_kept_to_a_drawable_range)
{
    const float nan = std::numeric_limits<float>::quiet_NaN();
    GUIBoxManager::SetBoxRects("sci", "science_data", {12.9f, -0.5f, -12.9f, 1e9f, nan, -1e30f, 99.99f, 0});
    const GUIBox* box = GUIBoxManager::FindBox("sci", "science_data");
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(box->rect[0], (IntRect{12, 0, -12, GUIBoxManager::kMaxPercent}));
    EXPECT_EQ(box->rect[1], (IntRect{0, -GUIBoxManager::kMaxPercent, 99, 0}));
    EXPECT_EQ(box->layer, GUIBox::kLayer);
}

TEST_F(GUIBoxManagerTest, the_default_grid_keeps_every_box_inside_the_window_without_overlap)
{
    for (size_t count = 1; count <= 41; ++count) {
        for (size_t i = 0; i < count; ++i) {
            const IntRect r = GUIBoxManager::DefaultBoxRect(i, count);
            EXPECT_TRUE(r.IsOpen()) << i << " of " << count;
            EXPECT_GE(r.left, 10) << i << " of " << count;
            EXPECT_GE(r.top, 10) << i << " of " << count;
            EXPECT_LE(r.right, 90) << i << " of " << count;
            EXPECT_LE(r.bottom, 90) << i << " of " << count;
            for (size_t j = 0; j < i; ++j) {
                const IntRect o = GUIBoxManager::DefaultBoxRect(j, count);
                EXPECT_TRUE(r.left >= o.right || o.left >= r.right || r.top >= o.bottom || o.top >= r.bottom)
                    << i << " and " << j << " of " << count;
            }
        }
    }
    // Five widgets: two rows of three columns, the fifth in the second row.
    EXPECT_EQ(GUIBoxManager::DefaultBoxRect(0, 5), (IntRect{10, 10, 36, 50}));
    EXPECT_EQ(GUIBoxManager::DefaultBoxRect(4, 5), (IntRect{36, 50, 62, 90}));
    EXPECT_EQ(GUIBoxManager::DefaultBoxRect(0, 1), (IntRect{10, 10, 90, 90}));
}

TEST_F(GUIBoxManagerTest, a_console_draws_its_list_in_order_and_an_empty_list_draws_nothing)
{
    GUIBoxManager::DrawConsoleBoxes(console, "helm", {});
    EXPECT_TRUE(drawCalls.empty());
    EXPECT_TRUE(GUIBoxManager::Boxes().empty());

    GUIBoxManager::DrawConsoleBoxes(console, "helm", {"ship_data", "radar_zoom_ctrl", "throttle"});
    ASSERT_EQ(drawCalls.size(), 2u);
    EXPECT_EQ(drawCalls[0].widget, "ship_data");
    EXPECT_EQ(drawCalls[1].widget, "throttle");
    EXPECT_EQ(drawCalls[1].rect.left, 1024 * 62 / 100);  // third column of three
    EXPECT_EQ(GUIBoxManager::Boxes().size(), 3u);

    drawCalls.clear();
    GUIBoxManager::DrawConsoleBoxes(console, "helm", {"ship_data", "radar_zoom_ctrl", "throttle"}, "throttle");
    ASSERT_EQ(drawCalls.size(), 1u);
    EXPECT_EQ(drawCalls[0].widget, "throttle");
}

// A console name the mission reuses with other widgets: the new boxes do not
// land on the old ones; a box the mission placed stays where it put it.
TEST_F(GUIBoxManagerTest, a_screen_shown_with_another_list_lays_its_default_boxes_out_again)
{
    GUIBoxManager::DrawConsoleBoxes(console, "helm", {"throttle", "ship_data"});  // one row of two
    GUIBoxManager::SetBoxRects("helm", "red_alert", {70, 70, 90, 90, 70, 70, 90, 90});
    const std::vector<std::string> second = {"ship_data", "radar_zoom_ctrl", "throttle", "red_alert"};
    GUIBoxManager::DrawConsoleBoxes(console, "helm", second);
    const auto rect = [](const char* widget) { return GUIBoxManager::FindBox("helm", widget)->rect; };
    EXPECT_EQ(rect("ship_data")[0], GUIBoxManager::DefaultBoxRect(0, 4));
    EXPECT_EQ(rect("radar_zoom_ctrl")[0], GUIBoxManager::DefaultBoxRect(1, 4));
    EXPECT_EQ(rect("throttle")[1], GUIBoxManager::DefaultBoxRect(2, 4));
    EXPECT_EQ(rect("red_alert")[0], (IntRect{70, 70, 90, 90})) << "placed by the mission";

    // Shown again with nothing new, a box keeps whatever was made of it.
    GUIBoxManager::SetBoxRects("helm", "throttle", {0, 0, 5, 5, 0, 0, 5, 5});
    GUIBoxManager::FindBox("helm", "ship_data")->rect[0] = {1, 1, 2, 2};
    GUIBoxManager::DrawConsoleBoxes(console, "helm", second);
    EXPECT_EQ(rect("ship_data")[0], (IntRect{1, 1, 2, 2}));
    EXPECT_EQ(rect("throttle")[0], (IntRect{0, 0, 5, 5}));
}

TEST_F(GUIBoxManagerTest, the_enlarged_layout_shows_once_the_window_grows_wider_than_it_was)
{
    struct Step {
        int width;
        int32_t layout;
    };
    const Step steps[] = {{1024, 0}, {1024, 0}, {800, 0}, {1920, 1}, {1920, 1}, {1900, 0}, {1910, 1}};
    for (const Step& step : steps) {
        graphics.width = step.width;
        GUIBoxManager::EditMode(console.UI(), console.boxEdit, "helm", console.renderer);
        EXPECT_EQ(console.boxEdit.layoutIndex, step.layout) << step.width;
        EXPECT_EQ(console.boxEdit.lastWidth, step.width);
    }
}

TEST_F(GUIBoxManagerTest, the_layout_file_reads_back_as_written_and_writes_again_the_same)
{
    GUIBoxManager::SetBoxRects("sci", "science_data", {10, 10, 50, 90, 5, 10, 45, 90});
    GUIBoxManager::SetBoxRects("helm", "throttle", {-5, 0, 20, 100, 0, 0, 0, 0});
    GUIBoxManager::Save();
    const std::string written = LayoutFile();
    EXPECT_EQ(written, "helm\nthrottle\n-5\n0\n20\n100\n0\n0\n0\n0\n"
                       "sci\nscience_data\n10\n10\n50\n90\n5\n10\n45\n90\n");

    GUIBoxManager::Load(console.boxEdit);
    GUIBoxManager::Save();
    EXPECT_EQ(LayoutFile(), written);
    for (const auto& entry : std::filesystem::directory_iterator(folder.Path()))
        EXPECT_EQ(entry.path().filename().string().find(".tmp"), std::string::npos) << entry.path();
}

// The game's layout of its stations serves where the crew has none of its
// own; a box the crew placed stands where they put it, and saving keeps both.
TEST_F(GUIBoxManagerTest, the_crews_layout_stands_over_the_games_own)
{
    const std::string games = "helm\nthrottle\n61\n4\n71\n62\n61\n4\n71\n62\n"
                              "helm\nship_data\n0\n6\n60\n100\n0\n6\n60\n100\n";
    folder.Write("GUIBoxDefaults.txt", games);
    folder.Write("GUIBoxData.txt", "helm\nthrottle\n1\n2\n3\n4\n5\n6\n7\n8\n"
                                   "sci\nscience_data\n10\n10\n50\n90\n5\n10\n45\n90\n");
    GUIBoxManager::Load(console.boxEdit);
    ASSERT_EQ(GUIBoxManager::Boxes().size(), 3u);
    EXPECT_EQ(GUIBoxManager::FindBox("helm", "throttle")->rect[0], (IntRect{1, 2, 3, 4}));
    EXPECT_EQ(GUIBoxManager::FindBox("helm", "ship_data")->rect[1], (IntRect{0, 6, 60, 100}));
    EXPECT_EQ(GUIBoxManager::FindBox("sci", "science_data")->rect[0], (IntRect{10, 10, 50, 90}));

    GUIBoxManager::DrawBox(console, "helm", "ship_data", {40, 40, 60, 60});
    ASSERT_EQ(drawCalls.size(), 1u);
    EXPECT_EQ(drawCalls[0].rect, (IntRect{0, 46, 614, 768})) << "the game's box, not the default cell";

    GUIBoxManager::Save();
    EXPECT_EQ(Lines(LayoutFile()).size(), 30u);
    EXPECT_EQ(folder.Read("GUIBoxDefaults.txt"), games) << "the game's file is only read";
}

TEST_F(GUIBoxManagerTest, a_hand_edited_layout_file_reads_leniently_and_keeps_values_in_range)
{
    folder.Write("GUIBoxData.txt", "sci \t\r\n"
                                   "science_data\r\n"
                                   "  -12abc\r\n"
                                   "+7\r\n"
                                   "x\r\n"
                                   "99999999999999999999999\r\n"
                                   "-5000\r\n"
                                   "1\r\n"
                                   "2\r\n"
                                   "3\r\n"
                                   "helm\n"
                                   "throttle\n"
                                   "10\n"
                                   "20\n"
                                   "30\n"
                                   "40\n"
                                   "\n"
                                   "\n");
    GUIBoxManager::Load(console.boxEdit);
    ASSERT_EQ(GUIBoxManager::Boxes().size(), 2u);
    const GUIBox* science = GUIBoxManager::FindBox("sci", "science_data");
    ASSERT_NE(science, nullptr);
    EXPECT_EQ(science->rect[0], (IntRect{-12, 7, 0, GUIBoxManager::kMaxPercent}));
    EXPECT_EQ(science->rect[1], (IntRect{-GUIBoxManager::kMaxPercent, 1, 2, 3}));
    // The last record lacks its last numbers: they read as 0, and the blank
    // lines after it make no box of their own.
    const GUIBox* helm = GUIBoxManager::FindBox("helm", "throttle");
    ASSERT_NE(helm, nullptr);
    EXPECT_EQ(helm->rect[0], (IntRect{10, 20, 30, 40}));
    EXPECT_EQ(helm->rect[1], (IntRect{0, 0, 0, 0}));
}

TEST_F(GUIBoxManagerTest, a_name_with_a_line_break_stays_out_of_the_file_so_the_rest_reads_back)
{
    GUIBoxManager::SetBoxRects("helm", "thr\nottle", {1, 1, 1, 1, 1, 1, 1, 1});
    GUIBoxManager::SetBoxRects("helm", "ship_data", {2, 2, 2, 2, 2, 2, 2, 2});
    GUIBoxManager::Save();
    GUIBoxManager::Load(console.boxEdit);
    ASSERT_EQ(GUIBoxManager::Boxes().size(), 1u);
    EXPECT_EQ(GUIBoxManager::FindBox("helm", "ship_data")->rect[0].left, 2);
}

}  // namespace
