// Drop-downs: the modal list, its rows and how it closes.

#include "game/ui/UIControls.h"
#include "tests/game/ui/UITestFixture.h"

namespace {

using qeltest::DrawRecord;

class UIDropDownTest : public UITest {
protected:
    static constexpr int kList = 40;
    static constexpr int kOther = 41;

    // The drop-down at (100, 100)-(300, 130) and a button beside it; what each answered.
    std::pair<bool, bool> Draw()
    {
        std::pair<bool, bool> answers;
        Frame([&] {
            ui.SetCurrentRectEdges(100, 100, 300, 130);
            answers.first = uiDropDown(theUIContext, kList, label, selected, list, "gui-1", 1000);
            ui.SetCurrentRectEdges(400, 100, 500, 130);
            answers.second = uiButton(theUIContext, kOther, "Other", "gui-1", true, 1000);
        });
        return answers;
    }

    void ClickAt(int32_t x, int32_t y)
    {
        input.MoveTo(x, y);
        Draw();
        input.Press();
        Draw();
        input.Release();
    }

    std::string label = "Choose";
    int32_t selected = 0;
    std::vector<std::string> list{"Alpha", "Beta", "Gamma"};
};

TEST_F(UIDropDownTest, a_click_opens_the_list_whose_row_sets_the_choice_while_everything_else_is_inert)
{
    ClickAt(200, 115);
    EXPECT_EQ(Draw(), std::make_pair(false, false));  // the release that opens it
    EXPECT_EQ(ui.modalNextFrame, kList);

    // Open: the rows hang below the head, ten pixels to the right, ids from id + 12345.
    Draw();
    EXPECT_EQ(graphics.Text("Beta").box.left, 110 + 3);
    EXPECT_EQ(graphics.Text("Beta").box.top, 100 + 2 * 31 + 3);

    // The button beside it neither lights nor clicks.
    input.MoveTo(450, 115);
    Draw();
    EXPECT_EQ(ui.hotId, 0);
    input.Press();
    Draw();
    EXPECT_EQ(ui.activeId, 0);

    // Choosing a row.
    input.MoveTo(150, 100 + 2 * 31 + 15);
    input.Release();  // the release outside the button but inside the list keeps it open
    Draw();
    EXPECT_EQ(ui.modalNextFrame, kList);
    Draw();
    EXPECT_EQ(ui.hotId, kList + kDropDownRowIdOffset + 1);
    input.Press();
    Draw();
    input.Release();
    EXPECT_EQ(Draw(), std::make_pair(true, false));
    EXPECT_EQ(selected, 1);
    EXPECT_EQ(label, "Beta");
    EXPECT_EQ(ui.modalNextFrame, 0);

    // Closed again: the button answers.
    input.MoveTo(450, 115);
    Draw();
    input.Press();
    Draw();
    input.Release();
    EXPECT_EQ(Draw(), std::make_pair(false, true));
}

TEST_F(UIDropDownTest, a_release_outside_the_list_closes_it_unchanged)
{
    ClickAt(200, 115);
    Draw();
    Draw();
    ASSERT_EQ(ui.modalThisFrame, kList);
    ClickAt(700, 600);
    EXPECT_EQ(Draw(), std::make_pair(false, false));
    EXPECT_EQ(ui.modalNextFrame, 0);
    EXPECT_EQ(ui.modalRegion, UIContext::kNoRegion);
    EXPECT_EQ(selected, 0);
    EXPECT_EQ(label, "Choose");
}

TEST_F(UIDropDownTest, an_empty_list_opens_nothing)
{
    list.clear();
    ClickAt(200, 115);
    Draw();
    Draw();
    EXPECT_EQ(ui.modalThisFrame, 0);
    EXPECT_EQ(graphics.Text("Choose").box.left, 103);  // the head still shows
}

TEST_F(UIDropDownTest, rows_run_away_from_the_nearer_window_edges_and_wrap_into_a_new_column)
{
    struct Case {
        const char* name;
        IntRect head;
        int rows;
        int32_t lastLeft, lastTop;  // of the last row
    };
    const Case cases[] = {
        {"upper left: down and right", {100, 100, 300, 130}, 3, 110, 100 + 3 * 31},
        {"lower right: up and left", {700, 600, 900, 630}, 3, 690, 600 - 3 * 31},
        // Rows of 100 + 1 from 200: the fifth would end at 805 > 768, so it moves
        // one list width right and five rows up.
        {"off the bottom: a new column", {100, 200, 300, 300}, 5, 310, 705 - 500},
        {"off the top: a new column", {700, 500, 900, 600}, 5, 890, -5 + 500},
    };
    const std::vector<std::string> names{"one", "two", "three", "four", "five"};
    for (const Case& c : cases) {
        const std::vector<std::string> rows(names.begin(), names.begin() + c.rows);
        graphics.log.clear();
        int32_t chosen = 0;
        ui.modalThisFrame = 99;
        uiDropDownList(theUIContext, 99, c.head, chosen, rows, "gui-1", 1003);
        const DrawRecord last = graphics.Text(rows.back());
        EXPECT_EQ(last.box.left, c.lastLeft + 3) << c.name;
        EXPECT_EQ(last.box.top, c.lastTop + 3) << c.name;
        EXPECT_EQ(ui.modalThisFrame, 99) << c.name;
        EXPECT_EQ(ui.modalRegion.left, c.head.left) << c.name;
    }
}

}  // namespace
