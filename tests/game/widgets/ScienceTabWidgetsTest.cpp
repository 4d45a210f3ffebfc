// The science tabs and shield frequencies on recording services: which tabs
// the selection offers and how they flow, what a tab click or its hot key
// chooses and reports ("signal" 13), and which frequency reads as weakest.

#include "game/widgets/ScienceTabWidgets.h"

#include "tests/game/widgets/ScienceConsoleFixture.h"

#include <algorithm>
#include <functional>
#include <vector>

namespace {

using namespace playership;
using namespace shipkeys;
using qeltest::DrawRecord;
using qeltest::RecordingFont;

class ScienceTabWidgetsTest : public ScienceConsoleTest {
protected:
    void SetUp() override
    {
        ScienceConsoleTest::SetUp();
        target = Make("behav_npcship", "corvette", {100, 0, 100});
        Select(*target);
        console.weakestShieldFrequency = -1;
    }

    void DrawTabs(IntRect rect = {0, 0, 800, 100})
    {
        ViewScienceDataTabsDraw(console, rect, "science_data_tabs");
    }
    void DrawFreq(IntRect rect = {0, 0, 500, 200})
    {
        ViewScienceDataFreqDraw(console, rect, "science_data_freq");
    }

    // The tabs drawn, in order: the labels of the tab controls' text.
    std::vector<DrawRecord> Tabs() const
    {
        return graphics.Where([](const DrawRecord& r) { return r.kind == DrawRecord::Kind::Text && r.layer == 1003; });
    }
    std::vector<std::string> TabNames() const
    {
        std::vector<std::string> names;
        for (const DrawRecord& tab : Tabs())
            names.push_back(tab.text);
        return names;
    }

    std::vector<SelectObjectSignal> Selections() const { return network.Signals<SelectObjectSignal>(); }

    // The frequencies' strengths, revealed by a "status" scan.
    void Frequencies(const std::vector<int32_t>& strengths)
    {
        for (size_t i = 0; i < strengths.size(); ++i)
            WriteInt(target->data_set, kShieldFreqStrength, strengths[i], static_cast<int32_t>(i));
        Scanned(*target, "status");
        WriteString(ship->data_set, kScanTypeForShldFreq, "status");
        console.currentScienceScanType = "status";
    }

    SpaceObject* target = nullptr;
};

TEST_F(ScienceTabWidgetsTest, the_tabs_are_the_objects_scan_types_once_it_has_been_identified)
{
    struct Case {
        const char* name;
        bool identified;
        std::string list;
        std::vector<std::string> tabs;
    };
    const std::vector<Case> cases = {
        {"before the initial scan only that", false, "scan,intel", {"scan"}},
        {"no list: the four usual kinds", true, "", {"scan", "status", "intel", "bio"}},
        {"the object's own list, empty names dropped", true, "scan,,cargo,", {"scan", "cargo"}},
    };
    for (const Case& c : cases) {
        target->data_set.SetStringByIndexString("scan", c.identified ? "seen" : "", ship->side, "a");
        WriteString(target->data_set, sciencekeys::kScanTypeList, c.list);
        Frame([this] { DrawTabs(); });
        EXPECT_EQ(TabNames(), c.tabs) << c.name;
    }
}

TEST_F(ScienceTabWidgetsTest, before_a_selection_a_hint_stands_where_the_tabs_will_be)
{
    WriteUInt64(ship->data_set, kScienceTargetUid, 0);
    Frame([this] { DrawTabs(); });
    EXPECT_TRUE(TabNames().empty());
    EXPECT_TRUE(Drawn("Select a contact to scan"));
}

TEST_F(ScienceTabWidgetsTest, a_tab_chooses_the_scan_type_and_reports_the_choice)
{
    Scanned(*target, "scan");
    Frame([this] { DrawTabs(); });
    Click("intel", [this] { DrawTabs(); });
    EXPECT_EQ(console.currentScienceScanType, "intel");
    const std::vector<SelectObjectSignal> selections = Selections();
    ASSERT_EQ(selections.size(), 1u);
    EXPECT_EQ(selections[0].objectId, target->uniqueID);
    EXPECT_EQ(selections[0].dataSetKey, "intel");
    EXPECT_EQ(selections[0].extra, "sci_scan_tab");
}

TEST_F(ScienceTabWidgetsTest, insert_and_delete_step_along_the_tabs_from_the_ticked_one_only)
{
    Scanned(*target, "scan");
    struct Case {
        const char* from;
        int32_t key;
        const char* to;
    };
    const std::vector<Case> cases = {
        {"status", qel::vk::kInsert, "scan"}, {"status", qel::vk::kDelete, "intel"},
        {"scan", qel::vk::kInsert, "scan"},   {"bio", qel::vk::kDelete, "bio"},
        {"cargo", qel::vk::kDelete, "cargo"},  // not offered: nothing is ticked, the keys do nothing
    };
    for (const Case& c : cases) {
        console.currentScienceScanType = c.from;
        network.Clear();
        PressKey(c.key, [this] { DrawTabs(); });
        EXPECT_EQ(console.currentScienceScanType, c.to) << c.from << " " << c.key;
        EXPECT_EQ(Selections().size(), std::string(c.from) == c.to ? 0u : 1u) << c.from << " " << c.key;
    }
}

TEST_F(ScienceTabWidgetsTest, tabs_that_do_not_fit_the_rest_of_a_line_start_the_next_at_the_left_edge)
{
    Scanned(*target, "scan");
    WriteString(target->data_set, sciencekeys::kScanTypeList, "aaaaaaaaaa,bbbbbbbbbb,cccccccccccccccccccccccccccccccccccc");
    const int32_t lineHeight = 32;  // "object-sorted-list-button-h"
    Frame([this] { DrawTabs({10, 20, 300, 200}); });
    const std::vector<DrawRecord> tabs = Tabs();
    ASSERT_EQ(tabs.size(), 3u);
    // 10 letters: 80 + 50 pixels each; two fit the first line (2-pixel margins).
    EXPECT_EQ(tabs[1].box.top, tabs[0].box.top);
    // The long one is wider than the widget: its own line, from the left edge.
    EXPECT_EQ(tabs[2].box.top, tabs[0].box.top + lineHeight);
    EXPECT_LT(tabs[2].box.left, tabs[0].box.left);
}

TEST_F(ScienceTabWidgetsTest, the_weakest_frequency_is_marked_weak_from_the_next_frame)
{
    Frequencies({70, 30, 130, 30, -20});
    Frame([this] { DrawFreq(); });
    EXPECT_EQ(console.weakestShieldFrequency, 4) << "-20 counts as 0";
    EXPECT_FALSE(Drawn("weak")) << "the label follows one frame later";
    Frame([this] { DrawFreq(); });
    const DrawRecord weak = graphics.Text("weak");
    ASSERT_EQ(weak.text, "weak");
    EXPECT_GE(weak.box.left, 400);

    Frequencies({50, 20, 90, 20, 60});
    Frame([this] { DrawFreq(); });
    EXPECT_EQ(console.weakestShieldFrequency, 1) << "the first of equal minima";

    // Red at 0 %, green at full strength, 100 at most.
    const auto bars = graphics.Where([](const DrawRecord& r) {
        return r.kind == DrawRecord::Kind::Quad && r.colour != glm::vec4(0.4f, 0.4f, 0.4f, 1.0f);
    });
    ASSERT_EQ(bars.size(), 20u) << "four bars in each of five columns";
    const glm::vec4 ninety = bars[8].colour;
    EXPECT_NEAR(ninety.r, 0.1f, 1e-5f);
    EXPECT_NEAR(ninety.g, 0.9f, 1e-5f);
    EXPECT_EQ(ninety.b, 0.0f);
}

TEST_F(ScienceTabWidgetsTest, frequencies_show_only_after_their_scan_on_a_computer_ship)
{
    Frequencies({70, 30, 60, 80, 90});
    Frame([this] { DrawFreq(); });
    ASSERT_EQ(console.weakestShieldFrequency, 1);

    struct Case {
        const char* name;
        std::function<void()> change;
    };
    const std::vector<Case> cases = {
        {"another tab", [this] { console.currentScienceScanType = "bio"; }},
        {"another kind reveals them", [this] { WriteString(ship->data_set, kScanTypeForShldFreq, "intel"); }},
        {"a station", [this] { target->tick_type = "behav_station"; }},
    };
    for (const Case& c : cases) {
        Frequencies({70, 30, 60, 80, 90});
        target->tick_type = "behav_npcship";
        c.change();
        Frame([this] { DrawFreq(); });
        EXPECT_EQ(console.weakestShieldFrequency, -1) << c.name;
        EXPECT_TRUE(graphics.Texts().empty()) << c.name;
    }

    // Without a selection the last finding stays.
    console.weakestShieldFrequency = 3;
    WriteUInt64(ship->data_set, kScienceTargetUid, 0);
    Frame([this] { DrawFreq(); });
    EXPECT_EQ(console.weakestShieldFrequency, 3);
}

TEST_F(ScienceTabWidgetsTest, narrow_columns_letter_in_the_smallest_font)
{
    Frequencies({70, 30, 60, 80, 90});
    const std::string smallest = static_cast<RecordingFont*>(ui.GetFont("smallest"))->Name();
    const std::string large = static_cast<RecordingFont*>(ui.GetFont("gui-3"))->Name();
    ASSERT_NE(smallest, large);
    Frame([this] { DrawFreq({0, 0, 95, 100}); });
    EXPECT_EQ(graphics.Text("A").source, smallest);
    Frame([this] { DrawFreq({0, 0, 500, 100}); });
    EXPECT_EQ(graphics.Text("A").source, large);
}

}  // namespace
