// The button, icon and bar families: what each draws where, and which of its
// pixels answer the mouse.

#include "game/ui/UIControls.h"
#include "tests/game/ui/UITestFixture.h"

namespace {

using qeltest::DrawRecord;

class UIButtonsTest : public UITest {
protected:
    // Hover, press and release over a point while drawing; whether the release clicked.
    template <class Draw>
    bool ClickAt(int32_t x, int32_t y, Draw&& draw)
    {
        input.MoveTo(x, y);
        Frame(draw);
        input.Press();
        Frame(draw);
        input.Release();
        bool clicked = false;
        Frame([&] { clicked = draw(); });
        return clicked;
    }
};

TEST_F(UIButtonsTest, a_check_button_puts_its_tick_square_at_the_left_and_its_label_beside_it)
{
    struct Case {
        int32_t height;
        bool ticked;
        float tickRight;  // left + the tick width, which is the height held to 3..30
    };
    for (const Case c : {Case{20, true, 120}, Case{60, false, 130}}) {
        graphics.log.clear();
        ui.SetCurrentRectEdges(100, 100, 300, 100 + c.height);
        uiCheckButton(theUIContext, 3, "Shields", "gui-1", c.ticked, true, 1000);
        const auto ticks = graphics.Quads("smallWhite");
        ASSERT_FALSE(ticks.empty());
        EXPECT_EQ(ticks[0].layer, 1001);
        EXPECT_FLOAT_EQ(ticks[0].Left(), 101.0f);
        EXPECT_FLOAT_EQ(ticks[0].Top(), 101.0f);
        EXPECT_FLOAT_EQ(ticks[0].Right(), c.tickRight);
        if (c.ticked) {
            EXPECT_EQ(ticks[0].colour, ui.mainColour);
        } else {
            const glm::vec4 unlit{ui.dimColour.r * 0.3f, ui.dimColour.g * 0.3f, ui.dimColour.b * 0.3f, 1.0f};
            EXPECT_EQ(ticks[0].colour, unlit);
        }
        EXPECT_EQ(graphics.Text("Shields").box.left, static_cast<int>(c.tickRight) + 3);
    }
}

TEST_F(UIButtonsTest, a_selected_option_button_is_filled_bright_with_its_label_dark)
{
    ui.SetCurrentRectEdges(0, 0, 100, 30);
    uiOptionButton(theUIContext, 4, "Trainee", "gui-1", false, true, 1000);
    const auto plain = graphics.From("gradient1024");
    ASSERT_FALSE(plain.empty());
    EXPECT_EQ(graphics.Text("Trainee").colour, ui.mainColour);
    graphics.log.clear();
    uiOptionButton(theUIContext, 4, "Trainee", "gui-1", true, true, 1000);
    const auto fills = graphics.From("gradient1024");
    ASSERT_EQ(fills.size(), plain.size());
    EXPECT_EQ(fills[0].colour, ui.mainColour);
    EXPECT_EQ(graphics.Text("Trainee").colour, ui.knobTextColour);
}

TEST_F(UIButtonsTest, an_arrow_fills_its_rectangle_with_its_point_at_the_middle_of_one_edge)
{
    struct Case {
        int direction;
        float tipX, tipY;
    };
    for (const Case c : {Case{0, 50, 0}, Case{1, 100, 20}, Case{2, 50, 40}, Case{3, 0, 20}}) {
        graphics.log.clear();
        ui.SetCurrentRectEdges(0, 0, 100, 40);
        uiArrowButton(theUIContext, 6, c.direction, true, 1000);
        const auto quads = graphics.Of(DrawRecord::Kind::Quad);
        ASSERT_EQ(quads.size(), 1u);
        EXPECT_FLOAT_EQ(quads[0].dest[0], c.tipX) << c.direction;
        EXPECT_FLOAT_EQ(quads[0].dest[1], c.tipY) << c.direction;
        EXPECT_EQ(quads[0].Left(), 0.0f);
        EXPECT_EQ(quads[0].Right(), 100.0f);
        EXPECT_EQ(quads[0].Bottom(), 40.0f);
    }
    graphics.log.clear();
    uiArrowButton(theUIContext, 6, 0, false, 1000);
    EXPECT_EQ(graphics.log.at(0).colour, ui.shades[0]);
}

TEST_F(UIButtonsTest, a_click_region_shows_only_under_the_mouse)
{
    auto draw = [&] {
        ui.SetCurrentRectEdges(0, 0, 200, 100);
        const bool labelled = uiFourStringButton(theUIContext, 7, "Bridge", "gui-2", "", 1000);
        ui.SetCurrentRectEdges(300, 0, 500, 100);
        return uiFourStringButton(theUIContext, 8, "", "gui-2", "#00ff00", 1000) || labelled;
    };
    input.MoveTo(600, 600);
    Frame(draw);
    EXPECT_TRUE(graphics.log.empty());

    input.MoveTo(100, 50);
    Frame(draw);
    ASSERT_EQ(graphics.log.size(), 1u);
    EXPECT_EQ(graphics.log[0].text, "Bridge");
    EXPECT_EQ(graphics.log[0].align, 2);

    input.MoveTo(400, 50);
    Frame(draw);
    ASSERT_EQ(graphics.log.size(), 1u);
    EXPECT_EQ(graphics.log[0].colour, glm::vec4(0, 1, 0, 1));
    EXPECT_EQ(graphics.log[0].Left(), 300.0f);

    EXPECT_TRUE(ClickAt(400, 50, draw));
}

TEST_F(UIButtonsTest, a_bitmap_button_answers_only_on_its_opaque_pixels)
{
    // 20 × 20, its left half transparent, drawn twice its size around (200, 200).
    qeltest::RecordingBitmap* badge = graphics.AddBitmap("badge", 20, 20);
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 10; ++x)
            badge->SetPixel(x, y, 0.0f, 1, 1, 1);
    auto draw = [&] { return uiBitmapButton(theUIContext, 9, "badge", 200, 200, 2.0f); };

    EXPECT_FALSE(ClickAt(190, 200, draw));  // the transparent half
    EXPECT_FALSE(ClickAt(221, 200, draw));  // off the bitmap
    EXPECT_TRUE(ClickAt(215, 200, draw));
    const auto sprites = graphics.Of(DrawRecord::Kind::Sprite);
    ASSERT_EQ(sprites.size(), 1u);
    EXPECT_EQ(sprites[0].layer, 1000);
    EXPECT_FLOAT_EQ(sprites[0].dest[2], 2.0f);
}

TEST_F(UIButtonsTest, an_icon_is_its_cell_of_the_sheet_inset_by_two_pixels_and_cells_off_the_sheet_draw_nothing)
{
    uiGridIcon(theUIContext, 112, glm::vec4(1, 0, 0, 1), 50, 60, 22, 1000);  // column 12, row 5 of 64-pixel cells
    const auto icons = graphics.From("grid-icon-sheet");
    ASSERT_EQ(icons.size(), 1u);
    EXPECT_TRUE(icons[0].srcInPixels);
    EXPECT_FLOAT_EQ(icons[0].src[0], 12 * 64 + 2);
    EXPECT_FLOAT_EQ(icons[0].src[1], 5 * 64 + 2);
    EXPECT_FLOAT_EQ(icons[0].src[6], 13 * 64 - 2);
    EXPECT_FLOAT_EQ(icons[0].src[7], 6 * 64 - 2);
    EXPECT_FLOAT_EQ(icons[0].Left(), 28.0f);
    EXPECT_FLOAT_EQ(icons[0].Bottom(), 82.0f);

    graphics.log.clear();
    uiGridIcon(theUIContext, -1, glm::vec4(1), 50, 60, 22, 1000);
    uiGridIcon(theUIContext, 400, glm::vec4(1), 50, 60, 22, 1000);
    EXPECT_TRUE(graphics.log.empty());
}

TEST_F(UIButtonsTest, an_icon_button_dims_under_the_mouse_and_more_while_pressed)
{
    const glm::vec4 colour{1.0f, 0.5f, 0.25f, 1.0f};
    auto iconColour = [&] {
        Frame([&] { uiIconButton(theUIContext, 12, 3, colour, 100, 100, 10, 1000, 2.0f); });
        return graphics.From("grid-icon-sheet").at(0).colour;
    };
    input.MoveTo(300, 300);
    EXPECT_EQ(iconColour(), colour);
    input.MoveTo(119, 119);  // inside the half size × scale
    EXPECT_EQ(iconColour(), colour * 0.8f);
    input.Press();
    EXPECT_EQ(iconColour(), colour * 0.6f);
}

TEST_F(UIButtonsTest, state_buttons_light_an_indicator_in_their_left_half_for_states_one_and_two)
{
    struct Case {
        int state;
        size_t panels;   // gradient fills: the button's two, and two more for an indicator
        bool lit;
        float iconX;     // the icon's centre: the whole button, or its right half
    };
    for (const Case c : {Case{0, 2, false, 50}, Case{1, 4, false, 75}, Case{2, 4, true, 75}}) {
        graphics.log.clear();
        ui.SetCurrentRectEdges(0, 0, 100, 40);
        uiIconButtonByName(theUIContext, 13, 5, "white", c.state, 1000);
        const auto fills = graphics.From("gradient1024");
        ASSERT_EQ(fills.size(), c.panels) << c.state;
        if (c.panels == 4) {
            EXPECT_EQ(fills[2].colour == ui.mainColour, c.lit) << c.state;
            EXPECT_FLOAT_EQ(fills[2].Right(), 47.0f);  // left half, inset 2, inside its outline
        }
        const DrawRecord icon = graphics.From("grid-icon-sheet").at(0);
        EXPECT_FLOAT_EQ((icon.Left() + icon.Right()) / 2, c.iconX) << c.state;
        EXPECT_EQ(icon.colour, glm::vec4(1, 1, 1, 1));
    }

    graphics.log.clear();
    uiColorButton(theUIContext, 14, "#ff8000", 0, 1000);
    const auto swatch = graphics.Of(DrawRecord::Kind::Quad);
    ASSERT_EQ(swatch.size(), 4u);  // the panel's two fills, then the swatch's
    EXPECT_EQ(swatch[2].source, "smallWhite");
    EXPECT_EQ(swatch[2].colour, glm::vec4(1.0f, 128 / 255.0f, 0.0f, 1.0f));
    EXPECT_FLOAT_EQ(swatch[2].Left(), 2.0f);
}

class CoolantTest : public UIButtonsTest {
protected:
    // Nine steps of 20 pixels, along x from 100, or up from y = 380.
    bool Draw(bool upright, int32_t& selected)
    {
        if (upright)
            ui.SetCurrentRectEdges(100, 200, 120, 380);
        else
            ui.SetCurrentRectEdges(100, 200, 280, 220);
        return uiCoolantButtons(theUIContext, 15, selected, setColour, 4, availableColour, true);
    }

    const glm::vec4 setColour{0, 0, 1, 1};
    const glm::vec4 availableColour{0, 1, 0, 1};
};

TEST_F(CoolantTest, a_click_on_a_step_selects_one_less_than_its_number_counted_from_the_start_of_the_bar)
{
    struct Case {
        bool upright;
        int32_t x, y;
        int32_t selected;
    };
    const Case cases[] = {
        {false, 105, 210, -1}, {false, 130, 210, 0}, {false, 275, 210, 7},
        {true, 110, 375, -1},  {true, 110, 290, 3},  {true, 110, 201, 7},
    };
    for (const Case& c : cases) {
        int32_t selected = 2;
        EXPECT_EQ(ClickAt(c.x, c.y, [&] { return Draw(c.upright, selected); }), c.selected != 2);
        EXPECT_EQ(selected, c.selected) << c.x << "," << c.y;
    }
    int32_t selected = 0;
    EXPECT_FALSE(ClickAt(130, 210, [&] { return Draw(false, selected); }));  // no change, no report
}

TEST_F(CoolantTest, steps_up_to_the_selection_show_set_then_available_then_plain)
{
    input.MoveTo(600, 600);
    int32_t selected = 1;
    Frame([&] { Draw(false, selected); });
    // The first quad of each step starts one pixel inside it; an inner knob lies further in.
    auto stepColour = [&](int step) {
        for (const DrawRecord& record : graphics.Of(DrawRecord::Kind::Quad))
            if (record.layer == 1001 && record.Left() == 101.0f + 20.0f * static_cast<float>(step))
                return record.colour;
        return glm::vec4(-1);
    };
    EXPECT_EQ(stepColour(1), setColour);   // unit 0
    EXPECT_EQ(stepColour(2), setColour);   // unit 1: the selection
    EXPECT_EQ(stepColour(3), availableColour);
    EXPECT_EQ(stepColour(5), availableColour);  // unit 4: the highest available
    EXPECT_EQ(stepColour(6), ui.shades[2]);
}

TEST_F(UIButtonsTest, chevrons_mark_bars_filled_at_least_half_in_a_contrasting_colour)
{
    const IntRect bar{0, 0, 300, 30};
    uiPercentChevrons(theUIContext, bar, 49.0f, glm::vec4(0.9f, 0.1f, 0.5f, 1));
    EXPECT_TRUE(graphics.log.empty());

    uiPercentChevrons(theUIContext, bar, 90.0f, glm::vec4(0.9f, 0.1f, 0.5f, 1));
    const auto marks = graphics.Of(DrawRecord::Kind::Quad);
    ASSERT_EQ(marks.size(), 4u);  // two chevrons of two strokes
    EXPECT_EQ(marks[0].layer, 1001);
    EXPECT_NEAR(marks[0].colour.r, 0.7f, 1e-6f);
    EXPECT_NEAR(marks[0].colour.g, 0.3f, 1e-6f);
    EXPECT_NEAR(marks[0].colour.b, 0.7f, 1e-6f);
    EXPECT_FLOAT_EQ(marks[0].Left(), 90.0f);    // a third of the 270 filled pixels
    EXPECT_FLOAT_EQ(marks[2].Left(), 180.0f);   // a third before the filled end
    EXPECT_LE(marks[3].Right(), 270.0f);
}

}  // namespace
