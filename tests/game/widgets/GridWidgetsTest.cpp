// The engineering console's grid widgets headless: the list's filters,
// scrolling and the selection it proposes, the chosen object's face, and the
// mission's command buttons by click and by digit key.

#include "game/widgets/GridWidgets.h"

#include "engine/base/QelVirtualKeys.h"
#include "game/behaviours/PlayerShipKeys.h"
#include "game/net/SignalMessage.h"
#include "game/widgets/LocalConsoleScreen.h"
#include "game/widgets/ShipInternalView.h"
#include "game/world/HullPathSets.h"
#include "tests/game/widgets/WidgetTestFixture.h"
#include "tests/support/AuthoredHull.h"

namespace {

constexpr const char* kHullKey = "test_hull";

class GridWidgetsTest : public WidgetTest {
protected:
    void SetUp() override
    {
        WidgetTest::SetUp();
        hulls.hulls[kHullKey] = qeltest::DrawHull({"####", "####"});
        SetHullSilhouetteSource(&hulls);
        console.gridObjectList = GridObjectListState{};
        console.interiorView = InteriorViewState{};
        consoleScreen.ClearInfoLists();
        ship->data_tag = kHullKey;
        grid = GetHullPathSet(ship->uniqueID, false);
        ASSERT_NE(grid, nullptr);
        console.interiorView.shipShown = ship->uniqueID;  // as the interior view leaves it
        console.consoleName = "engineering";
    }
    void TearDown() override
    {
        console.gridObjectList = GridObjectListState{};
        console.interiorView = InteriorViewState{};
        consoleScreen.ClearInfoLists();
        SetHullSilhouetteSource(nullptr);
        WidgetTest::TearDown();
    }

    GridObject& Make(const std::string& name, const std::string& type)
    {
        return grid->CreateGridObject(name, "", type);
    }
    void DrawList(IntRect box = kList) { Draw(ViewGridObjectListDraw, box, "grid_object_list"); }
    // The names the list shows this frame, in order.
    std::vector<std::string> Listed() const
    {
        std::vector<std::string> names;
        for (const std::string& text : graphics.Texts())
            if (text.rfind("Crew", 0) == 0 || text.rfind("Fire", 0) == 0)
                names.push_back(text);
        return names;
    }

    // One row of filters at the top, then 200 pixels of list: 8 rows, of
    // which the last, ending on the box's bottom, is not drawn.
    static constexpr IntRect kList{0, 0, 400, 225};
    qeltest::ScopedShipRecord record{qeltest::InteriorRecord(4, 2)};
    qeltest::AuthoredHulls hulls;
    HullPathSet* grid = nullptr;
};

TEST_F(GridWidgetsTest, without_an_interior_view_the_list_says_no_scan_network)
{
    console.interiorView.shipShown = 0;
    DrawList();
    EXPECT_TRUE(Drawn("Scan network not detected.  Check that you are aboard a ship."));
    EXPECT_TRUE(network.SignalCodes().empty());
}

TEST_F(GridWidgetsTest, the_scroll_runs_from_the_first_object_at_the_top_to_the_last_at_the_bottom)
{
    for (int i = 0; i < 20; ++i)
        Make("Crew " + std::to_string(i), "crew");
    DrawList();  // meets the type
    DrawList();
    EXPECT_EQ(Listed(),
              (std::vector<std::string>{"Crew 0", "Crew 1", "Crew 2", "Crew 3", "Crew 4", "Crew 5", "Crew 6"}));
    console.gridObjectList.scroll = 0.0f;
    DrawList();
    ASSERT_EQ(Listed().size(), 7u);
    EXPECT_EQ(Listed().front(), "Crew 13");
    EXPECT_EQ(Listed().back(), "Crew 19");

    // The wheel moves it within its range.
    input.MoveTo(100, 100);
    input.mouse.wheel = -300;
    DrawList();
    EXPECT_EQ(console.gridObjectList.scroll, 0.0f);
    input.mouse.wheel = 600;
    DrawList();
    EXPECT_EQ(console.gridObjectList.scroll, 600.0f);

    // A list shorter than the box starts at its first object wherever the scroll stands.
    grid = GetHullPathSet(ship->uniqueID, true);
    for (int i = 0; i < 3; ++i)
        Make("Crew " + std::to_string(i), "crew");
    for (float scroll : {0.0f, 500.0f, 1000.0f}) {
        console.gridObjectList.scroll = scroll;
        DrawList(IntRect{0, 0, 400, 125});
        EXPECT_EQ(Listed().front(), "Crew 0") << scroll;
    }
}

TEST_F(GridWidgetsTest, types_join_the_filter_as_met_and_hidden_or_untyped_objects_are_never_listed)
{
    Make("Crew A", "crew");
    Make("Fire B", "hazard");
    Make("Crew hidden", "#");
    Make("Crew untyped", "");
    DrawList();  // meets the types
    DrawList();
    ASSERT_EQ(world.gridObjectFilter.size(), 3u);
    EXPECT_EQ(world.gridObjectFilter[2].type, "#");
    EXPECT_TRUE(Drawn("crew"));
    EXPECT_TRUE(Drawn("hazard"));
    EXPECT_FALSE(Drawn("#")) << "no filter button for the hidden type";
    EXPECT_EQ(Listed(), (std::vector<std::string>{"Crew A", "Fire B"}));

    ClickLabel(ViewGridObjectListDraw, kList, "hazard", "grid_object_list");
    EXPECT_FALSE(world.gridObjectFilter[1].enabled);
    DrawList();
    EXPECT_EQ(Listed(), std::vector<std::string>{"Crew A"});
}

TEST_F(GridWidgetsTest, a_click_shows_the_choice_at_once_proposes_it_after_100_ms_and_falls_back_after_2_s)
{
    const uint64_t crewA = Make("Crew A", "crew").unique_ID;
    const uint64_t crewB = Make("Crew B", "crew").unique_ID;
    WriteUInt64(ship->data_set, playership::kGridSelectedUID, crewA);  // the server's choice
    DrawList();  // meets the type
    DrawList();
    EXPECT_EQ(console.gridObjectList.selection.Current(), crewA);

    input.milliseconds = 1000;
    ClickLabel(ViewGridObjectListDraw, kList, "Crew B", "grid_object_list");
    EXPECT_EQ(console.gridObjectList.selection.Current(), crewB);
    EXPECT_TRUE(network.Signals<GridObjectSelectionSignal>().empty());
    input.milliseconds = 1100;
    DrawList();
    DrawList();
    const std::vector<GridObjectSelectionSignal> sent = network.Signals<GridObjectSelectionSignal>();
    ASSERT_EQ(sent.size(), 1u);
    EXPECT_EQ(sent[0].shipId, ship->uniqueID);
    EXPECT_EQ(sent[0].gridObjectId, crewB);
    EXPECT_EQ(sent[0].consoleName, "engineering");

    // Clicking the shown object again sends nothing; the server never took
    // the choice, so its own shows again.
    ClickLabel(ViewGridObjectListDraw, kList, "Crew B", "grid_object_list");
    input.milliseconds = 3000;
    DrawList();
    EXPECT_EQ(network.Signals<GridObjectSelectionSignal>().size(), 1u);
    EXPECT_EQ(console.gridObjectList.selection.Current(), crewA);

    // A choice whose object leaves the grid before it settles is dropped.
    ClickLabel(ViewGridObjectListDraw, kList, "Crew B", "grid_object_list");
    grid->DeleteGridObject(grid->GetGridObjectById(crewB));
    input.milliseconds = 3200;
    DrawList();
    EXPECT_EQ(network.Signals<GridObjectSelectionSignal>().size(), 1u);
}

TEST_F(GridWidgetsTest, the_face_shows_the_chosen_object_and_a_hint_without_one)
{
    GridObject& medic = Make("Medic Hale", "crew");
    WriteString(medic.data_set, gridobject::kInfoText, "treating the wounded");
    WriteString(medic.data_set, gridobject::kInfoTextColor, "lime");
    WriteInt(medic.data_set, gridobject::kIconIndex, 12);
    WriteString(medic.data_set, gridobject::kIconColor, "white");
    const IntRect box{0, 0, 300, 220};
    Draw(ViewGridFaceDraw, box);
    const std::vector<qeltest::DrawRecord> hint = graphics.Of(qeltest::DrawRecord::Kind::Text);
    ASSERT_EQ(hint.size(), 1u);
    EXPECT_EQ(hint[0].text, "Select a crew member or system");
    EXPECT_TRUE(graphics.Quads("grid-icon-sheet").empty());

    WriteUInt64(ship->data_set, playership::kGridSelectedUID, medic.unique_ID);
    Draw(ViewGridFaceDraw, box);
    EXPECT_TRUE(Drawn("Medic Hale"));
    const qeltest::DrawRecord info = graphics.Text("treating the wounded");
    EXPECT_EQ(info.colour, glm::vec4(0.0f, 1.0f, 0.0f, 1.0f));
    EXPECT_EQ(info.box.left, 100) << "beside the 100-pixel portrait";
    // The icon fills the square below the portrait: {0, 120, 100, 220}.
    const std::vector<qeltest::DrawRecord> icon = graphics.Quads("grid-icon-sheet");
    ASSERT_EQ(icon.size(), 1u);
    EXPECT_FLOAT_EQ(icon[0].Left(), 50.0f - 49.0f);
    EXPECT_FLOAT_EQ(icon[0].Top(), 170.0f - 49.0f);
}

TEST_F(GridWidgetsTest, command_buttons_send_their_tag_for_the_chosen_object_by_click_or_digit_key)
{
    const IntRect box{0, 0, 300, 500};
    Draw(ViewGridControlDraw, box);
    EXPECT_TRUE(graphics.log.empty()) << "no list, nothing drawn";

    const uint64_t crew = Make("Crew A", "crew").unique_ID;
    WriteUInt64(ship->data_set, playership::kGridSelectedUID, crew);
    consoleScreen.SelectInfo(ConsoleScreen::InfoList::Engineering, {"Damage control", "orange", ""});
    for (int i = 1; i <= 17; ++i)
        consoleScreen.AddInfo(ConsoleScreen::InfoList::Engineering,
                                      {"Order " + std::to_string(i), "cyan", "order_" + std::to_string(i)});
    Draw(ViewGridControlDraw, box, "grid_control");  // the hot keys take their defaults
    EXPECT_TRUE(Drawn("Damage control"));
    // Rows of 40 a pixel apart below the header: the second from 71 to 111.
    ClickAt(ViewGridControlDraw, box, 150, 90, "grid_control");
    PressKey(ViewGridControlDraw, box, qel::vk::kDigit0 + 1, "grid_control");
    PressKey(ViewGridControlDraw, box, qel::vk::kDigit0 + 9, "grid_control");
    // Past the ninth there is no default key: the seventeenth does not take A.
    PressKey(ViewGridControlDraw, box, qel::vk::kLetterA, "grid_control");

    const std::vector<GridButtonSignal> sent = network.Signals<GridButtonSignal>();
    ASSERT_EQ(sent.size(), 3u);
    EXPECT_EQ(sent[0].button, "order_2");
    EXPECT_EQ(sent[0].shipId, ship->uniqueID);
    EXPECT_EQ(sent[0].gridObjectId, crew);
    EXPECT_EQ(sent[1].button, "order_1");
    EXPECT_EQ(sent[2].button, "order_9");

    world.subjectID = 0;
    Draw(ViewGridControlDraw, box, "grid_control");
    EXPECT_TRUE(graphics.log.empty()) << "no ship, nothing drawn";
}

}  // namespace
