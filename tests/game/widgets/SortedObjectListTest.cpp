// The sorted object list on recording services: which objects its filter
// tabs let through, how each row reads, and what a click or a hot key
// selects, with the selection reaching the server as "signal" 13.

#include "tests/game/widgets/ScienceConsoleFixture.h"

#include "helper/ColorParse.h"

#include <algorithm>
#include <vector>

namespace {

using namespace playership;
using namespace shipkeys;

constexpr const char* kTargetKey = "science_target_UID";
const IntRect kListRect{100, 100, 600, 700};

class SortedObjectListTest : public ScienceConsoleTest {
protected:
    void Draw() { DrawSortedObjectList(console, kListRect, "science_sorted_list", kTargetKey); }
    void DrawFrame() { Frame([this] { Draw(); }); }

    // A scanned computer ship of the side and origin, named.
    SpaceObject* Ship(const std::string& name, const std::string& side, const std::string& origin)
    {
        SpaceObject* object = Make("behav_npcship", "corvette", {});
        object->side = side;
        WriteString(object->data_set, kNameTag, name);
        WriteString(object->data_set, kHullSide, side);
        WriteString(object->data_set, kHullOrigin, origin);
        Scanned(*object, kInitialScanType);
        return object;
    }

    std::vector<uint64_t> SelectedIds() const
    {
        std::vector<uint64_t> ids;
        for (const SelectObjectSignal& selection : network.Signals<SelectObjectSignal>())
            ids.push_back(selection.objectId);
        return ids;
    }

    FilterTag& SideTab(const std::string& side)
    {
        for (FilterTag& tab : world.firstFilterTags)
            if (tab.tag == side)
                return tab;
        ADD_FAILURE() << "no side tab " << side;
        return world.activeFilter;
    }

    FilterTag& OriginTab(const std::string& origin)
    {
        for (FilterTag& tab : world.secondFilterTags)
            if (tab.tag == origin)
                return tab;
        ADD_FAILURE() << "no origin tab " << origin;
        return world.activeFilter;
    }
};

TEST_F(SortedObjectListTest, filter_tabs_let_through_what_every_enabled_group_names)
{
    SpaceObject* ally = Ship("Kestrel", "fleet", "Meridian");
    SpaceObject* raider = Ship("Vandal", "raiders", "Outer Reach");
    SpaceObject* mine = Make("behav_mine", "mine", {});
    mine->side = "raiders";
    DrawFrame();  // the list records the sides and origins it sees
    console.sortedList.favourites = {raider->uniqueID};

    struct Case {
        const char* name;
        std::vector<std::string> sides, origins;
        bool favourite, active;
        SpaceObject* object;
        bool unscanned;
        bool passes;
    };
    const std::vector<Case> cases = {
        {"nothing enabled lets everything through", {}, {}, false, false, mine, false, true},
        {"a side tab passes its side", {"fleet"}, {}, false, false, ally, false, true},
        {"a side tab holds back other sides", {"fleet"}, {}, false, false, raider, false, false},
        {"two side tabs pass either side", {"fleet", "raiders"}, {}, false, false, raider, false, true},
        {"an origin tab passes its origin", {}, {"Meridian"}, false, false, ally, false, true},
        {"an unscanned ship matches no origin", {}, {"Meridian"}, false, false, ally, true, false},
        {"side and origin must both name the object", {"fleet"}, {"Outer Reach"}, false, false, ally, false, false},
        {"favourites only", {}, {}, true, false, ally, false, false},
        {"a favourite passes", {}, {}, true, false, raider, false, true},
        {"active holds back a mine", {}, {}, false, true, mine, false, false},
        {"active passes a computer ship", {}, {}, false, true, raider, false, true},
    };
    for (const Case& c : cases) {
        for (std::vector<FilterTag>* group : {&world.firstFilterTags, &world.secondFilterTags})
            for (FilterTag& tab : *group)
                tab.selected = false;
        for (const std::string& side : c.sides)
            SideTab(side).selected = true;
        for (const std::string& origin : c.origins)
            OriginTab(origin).selected = true;
        world.favoriteFilter.selected = c.favourite;
        world.activeFilter.selected = c.active;
        const std::string origin = ReadString(c.object->data_set, kHullOrigin);
        EXPECT_EQ(SortedObjectListFilters(console.sortedList, *c.object, c.object->side, origin, c.unscanned),
                  c.passes)
            << c.name;
    }
}

TEST_F(SortedObjectListTest, rows_name_the_object_its_hull_side_or_its_record_and_hide_what_is_not_known)
{
    Ship("Kestrel", "fleet", "Meridian");
    SpaceObject* stranger = Ship("Vandal", "raiders", "Outer Reach");
    stranger->data_set.SetStringByIndexString("scan", "", ship->side, "a");  // never scanned
    Make("behav_asteroid", "rock_large", {});                                // no hull side
    Make("behav_buoy", "invisible", {});                                     // never listed

    DrawFrame();  // the tabs of the sides and origins seen show from the next frame
    DrawFrame();
    const std::vector<std::string> texts = graphics.Texts();
    for (const char* label : {"Kestrel (fleet)", "unknown", "rock_large"})
        EXPECT_NE(std::find(texts.begin(), texts.end(), label), texts.end()) << label;
    EXPECT_EQ(std::find(texts.begin(), texts.end(), "Vandal (raiders)"), texts.end());
    EXPECT_EQ(console.sortedList.rowCount, 4) << "the own ship, the two ships and the asteroid";
    // The tabs: the two fixed ones, the sides, the origins marked "-o".
    for (const char* tab : {"Active", "Favorite", "fleet", "raiders", "Meridian-o", "Outer Reach-o"})
        EXPECT_TRUE(Drawn(tab)) << tab;
}

TEST_F(SortedObjectListTest, a_click_on_a_row_selects_its_object_for_the_target_key_and_the_initial_scan)
{
    SpaceObject* kestrel = Ship("Kestrel", "fleet", "Meridian");
    console.currentScienceScanType = "bio";
    DrawFrame();
    Click("Kestrel (fleet)", [this] { Draw(); });

    const std::vector<SelectObjectSignal> selections = network.Signals<SelectObjectSignal>();
    ASSERT_EQ(selections.size(), 1u);
    EXPECT_EQ(selections[0].objectId, kestrel->uniqueID);
    EXPECT_EQ(selections[0].dataSetKey, kTargetKey);
    EXPECT_EQ(selections[0].extra, "space_object_list");
    EXPECT_EQ(selections[0].kind, "sci");
    EXPECT_EQ(console.currentScienceScanType, "scan");
}

TEST_F(SortedObjectListTest, page_keys_move_the_selection_one_row_and_stop_at_the_ends)
{
    // The rows in list order: the own ship, then the three.
    SpaceObject* a = Ship("A", "fleet", "x");
    SpaceObject* b = Ship("B", "fleet", "x");
    SpaceObject* c = Ship("C", "fleet", "x");
    struct Case {
        const char* name;
        uint64_t target;
        int32_t key;
        uint64_t selected;
    };
    const std::vector<Case> cases = {
        {"up from the middle", b->uniqueID, qel::vk::kPrior, a->uniqueID},
        {"down from the middle", b->uniqueID, qel::vk::kNext, c->uniqueID},
        {"down on the last row stays", c->uniqueID, qel::vk::kNext, c->uniqueID},
        {"up on the first row stays", ship->uniqueID, qel::vk::kPrior, ship->uniqueID},
        {"up with no target goes to the top", 0, qel::vk::kPrior, ship->uniqueID},
        {"down with no target goes to the bottom", 0, qel::vk::kNext, c->uniqueID},
    };
    for (const Case& test : cases) {
        WriteUInt64(ship->data_set, kScienceTargetUid, test.target);
        network.Clear();
        PressKey(test.key, [this] { Draw(); });
        EXPECT_EQ(SelectedIds(), std::vector<uint64_t>{test.selected}) << test.name;
    }
}

TEST_F(SortedObjectListTest, home_and_end_walk_one_exclusive_filter_along_the_tabs)
{
    Ship("Kestrel", "fleet", "Meridian");
    console.sortedList.currentFilter = 2;
    for (int press = 0; press < 4; ++press)
        PressKey(qel::vk::kHome, [this] { Draw(); });
    EXPECT_EQ(console.sortedList.currentFilter, -1);
    EXPECT_FALSE(world.activeFilter.selected || world.favoriteFilter.selected || SideTab("fleet").selected);

    PressKey(qel::vk::kEnd, [this] { Draw(); });
    EXPECT_TRUE(world.activeFilter.selected);
    EXPECT_FALSE(world.favoriteFilter.selected);
    PressKey(qel::vk::kEnd, [this] { Draw(); });
    EXPECT_FALSE(world.activeFilter.selected);
    EXPECT_TRUE(world.favoriteFilter.selected);
    DrawFrame();
    EXPECT_EQ(console.sortedList.rowCount, 0) << "no favourites yet";
}

TEST_F(SortedObjectListTest, a_tab_click_flips_its_filter_and_the_star_keeps_a_favourite)
{
    SpaceObject* kestrel = Ship("Kestrel", "fleet", "Meridian");
    Ship("Vandal", "raiders", "Outer Reach");
    DrawFrame();
    DrawFrame();
    Click("raiders", [this] { Draw(); });
    EXPECT_TRUE(SideTab("raiders").selected);
    EXPECT_EQ(console.sortedList.currentFilter, 3);
    DrawFrame();
    EXPECT_EQ(console.sortedList.rowCount, 1);
    Click("raiders", [this] { Draw(); });
    EXPECT_FALSE(SideTab("raiders").selected);

    // The star sits at the row's end, left of the scroll strip.
    DrawFrame();
    const qeltest::DrawRecord row = graphics.Text("Kestrel (fleet)");
    const float starX = kListRect.right - 40 - 1 - 16.5f;
    ClickAt(starX, (row.box.top + row.box.bottom) / 2.0f, [this] { Draw(); });
    EXPECT_EQ(console.sortedList.favourites, std::set<uint64_t>{kestrel->uniqueID});
    ClickAt(starX, (row.box.top + row.box.bottom) / 2.0f, [this] { Draw(); });
    EXPECT_TRUE(console.sortedList.favourites.empty());
    EXPECT_TRUE(network.Signals<SelectObjectSignal>().empty()) << "the star selects nothing";
}

TEST_F(SortedObjectListTest, a_row_notes_its_targeting_consoles_its_queue_places_and_the_running_scan)
{
    SpaceObject* kestrel = Ship("Kestrel", "fleet", "Meridian");
    SpaceObject* other = Ship("Vandal", "raiders", "Outer Reach");
    Select(*kestrel);
    WriteUInt64(ship->data_set, kWeaponTargetUid, kestrel->uniqueID);
    client->scanQueue = {{kestrel->uniqueID, "scan"}, {other->uniqueID, "scan"}, {kestrel->uniqueID, "bio"}};
    WriteFloat(ship->data_set, kCurScanPercent, 0.5f);
    WriteUInt64(ship->data_set, kCurScanId, kestrel->uniqueID);

    DrawFrame();
    EXPECT_TRUE(Drawn("scanning 2 <wep<sci"));
    EXPECT_TRUE(Drawn("1 "));
    const qeltest::DrawRecord row = graphics.Text("Kestrel (fleet)");
    glm::vec4 barColour;
    ParseColor(barColour, AppData::GetString("gui-color-science-reticle"));
    const auto bars = graphics.Where([&](const qeltest::DrawRecord& r) {
        return r.kind == qeltest::DrawRecord::Kind::Quad && r.layer == 1001 && r.colour == barColour;
    });
    ASSERT_EQ(bars.size(), 1u) << "one scan bar, on the scanned row";
    EXPECT_NEAR(bars[0].Bottom(), row.box.bottom + 3 - 2, 1.0f);
    const float rowLeft = static_cast<float>(kListRect.left);
    const float rowRight = static_cast<float>(kListRect.right - 40 - 1 - 33 - 2);
    EXPECT_NEAR(bars[0].Right() - bars[0].Left(), (rowRight - rowLeft - 20) * 0.5f, 1.0f);
}

TEST_F(SortedObjectListTest, scrolled_to_the_bottom_the_list_shows_its_last_rows)
{
    for (int i = 0; i < 40; ++i)
        Ship("S" + std::to_string(i), "fleet", "x");
    DrawFrame();
    EXPECT_TRUE(Drawn("S0 (fleet)"));
    EXPECT_FALSE(Drawn("S39 (fleet)"));
    console.sortedList.scroll = 0.0f;
    DrawFrame();
    EXPECT_FALSE(Drawn("S0 (fleet)"));
    EXPECT_TRUE(Drawn("S39 (fleet)"));
}

TEST_F(SortedObjectListTest, a_list_shorter_than_its_box_stays_at_the_top_whatever_the_scroll)
{
    Ship("Kestrel", "fleet", "Meridian");
    DrawFrame();
    const int32_t top = graphics.Text("Kestrel (fleet)").box.top;
    console.sortedList.scroll = 0.0f;
    DrawFrame();
    EXPECT_EQ(graphics.Text("Kestrel (fleet)").box.top, top);
}

TEST_F(SortedObjectListTest, without_a_ship_the_list_says_so_and_lists_nothing)
{
    world.subjectID = 0;
    Ship("Kestrel", "fleet", "Meridian");
    DrawFrame();
    EXPECT_TRUE(Drawn("Scan network not detected.  Check that you are aboard a ship."));
    EXPECT_FALSE(Drawn("Kestrel (fleet)"));
}

}  // namespace
