// The immediate-mode core: the rectangle stack, the click rule every control
// follows, the shared colours, fonts and bitmaps, and the panel shape.

#include "game/ui/UIContext.h"

#include "game/ui/TextLog.h"
#include "game/ui/UIControls.h"
#include "tests/game/ui/UITestFixture.h"
#include "tests/support/ErrorText.h"

#include <gmock/gmock.h>

namespace {

using qeltest::DrawRecord;
using qeltest::ErrorText;

// --- Rectangles and the stack ---------------------------------------------

TEST(IntRectTest, a_rectangle_is_open_only_while_it_has_width_and_height)
{
    EXPECT_TRUE((IntRect{0, 0, 1, 1}.IsOpen()));
    EXPECT_FALSE((IntRect{5, 0, 5, 10}.IsOpen()));
    EXPECT_FALSE((IntRect{0, 5, 10, 5}.IsOpen()));
    EXPECT_FALSE((IntRect{10, 0, 0, 10}.IsOpen()));

    IntRect rect;
    rect.Set(1, 2, 3, 4).Offset(10, 20, 30, 40);
    EXPECT_EQ(rect, (IntRect{11, 22, 33, 44}));
    EXPECT_EQ(rect.Width(), 22);
    EXPECT_EQ(rect.Height(), 22);
}

TEST(IntRectTest, contains_takes_the_edges_and_the_centre_halves_toward_zero)
{
    IntRect rect{0, 0, 5, 5};
    EXPECT_EQ(rect.Center(), (IntPoint{2, 2}));
    EXPECT_EQ((IntRect{-5, -5, 0, 0}.Center()), (IntPoint{-2, -2}));
    for (const IntPoint inside : {IntPoint{0, 0}, IntPoint{5, 5}, IntPoint{5, 0}, IntPoint{3, 2}})
        EXPECT_TRUE(rect.Contains(inside.x, inside.y)) << inside.x << "," << inside.y;
    for (const IntPoint outside : {IntPoint{-1, 0}, IntPoint{6, 5}, IntPoint{2, 6}})
        EXPECT_FALSE(rect.Contains(outside.x, outside.y)) << outside.x << "," << outside.y;

    rect.Translate(-10, 3);
    EXPECT_EQ(rect, (IntRect{-10, 3, -5, 8}));
}

TEST(RectStackTest, shifts_and_squares_move_the_current_rectangle)
{
    struct Case {
        const char* name;
        IntRect start;
        void (*move)(UIContext&);
        IntRect expected;
    };
    const Case cases[] = {
        {"one width and four pixels right", {10, 0, 30, 5}, [](UIContext& c) { c.ShiftRectX(1, 4); }, {34, 0, 54, 5}},
        {"two heights down", {0, 10, 8, 15}, [](UIContext& c) { c.ShiftRectY(2, 0); }, {0, 20, 8, 25}},
        {"back one width", {10, 0, 30, 5}, [](UIContext& c) { c.ShiftRectX(-1, 0); }, {-10, 0, 10, 5}},
        {"a negative width moves the other way", {30, 0, 10, 5}, [](UIContext& c) { c.ShiftRectX(1, 0); },
         {10, 0, -10, 5}},
        {"square at the right end", {0, 0, 100, 20}, [](UIContext& c) { c.SquareRectRight(); }, {80, 0, 100, 20}},
    };
    for (const Case& c : cases) {
        UIContext context;
        context.SetCurrentRect(c.start);
        c.move(context);
        EXPECT_EQ(context.CurrentRect(), c.expected) << c.name;
    }
}

TEST(RectStackTest, a_push_copies_the_parent_which_the_pop_makes_current_again_unchanged)
{
    UIContext context;
    context.SetCurrentRectEdges(0, 0, 100, 50);
    context.PushRect();
    EXPECT_EQ(context.CurrentRect(), (IntRect{0, 0, 100, 50}));
    context.ShiftRectY(1, 2);
    context.PopRect();
    EXPECT_EQ(context.CurrentRect(), (IntRect{0, 0, 100, 50}));
}

TEST(RectStackTest, nesting_deeper_than_twenty_or_popping_the_base_fails_and_leaves_the_stack_usable)
{
    UIContext context;
    for (int i = 0; i < 19; ++i)
        context.PushRect();
    EXPECT_EQ(context.RectIndex(), 19);
    EXPECT_THAT(ErrorText([&] { context.PushRect(); }), testing::HasSubstr("rectIndex < 20"));
    EXPECT_EQ(context.RectIndex(), 19);
    context.SetCurrentRectEdges(1, 2, 3, 4);  // still inside the stack

    context.BeginFrame();  // every frame starts at the base
    EXPECT_EQ(context.RectIndex(), 0);
    EXPECT_THAT(ErrorText([&] { context.PopRect(); }), testing::HasSubstr("rectIndex >= 0"));
    EXPECT_EQ(context.RectIndex(), 0);
}

// --- The click rule ----------------------------------------------------------

class ClickRuleTest : public UITest {
protected:
    static constexpr int kA = 10;
    static constexpr int kB = 11;

    // Buttons A (20..120) and B (140..240) in one row; their clicks this frame.
    std::pair<bool, bool> DrawAB(bool enabledA = true)
    {
        std::pair<bool, bool> clicks;
        Frame([&] {
            ui.SetCurrentRectEdges(20, 20, 120, 50);
            clicks.first = uiButton(theUIContext, kA, "A", "gui-1", enabledA, 1000);
            ui.SetCurrentRectEdges(140, 20, 240, 50);
            clicks.second = uiButton(theUIContext, kB, "B", "gui-1", true, 1000);
        });
        return clicks;
    }
};

TEST_F(ClickRuleTest, a_click_is_a_press_and_a_release_on_the_same_control_and_fires_on_the_release)
{
    input.MoveTo(50, 30);
    EXPECT_EQ(DrawAB(), std::make_pair(false, false));  // hovering
    EXPECT_EQ(ui.hotId, kA);
    input.Press();
    EXPECT_EQ(DrawAB(), std::make_pair(false, false));
    EXPECT_EQ(ui.activeId, kA);
    EXPECT_EQ(DrawAB(), std::make_pair(false, false));  // held
    input.Release();
    EXPECT_EQ(DrawAB(), std::make_pair(true, false));
    EXPECT_EQ(ui.activeId, 0);
    EXPECT_EQ(DrawAB(), std::make_pair(false, false));  // once only
}

TEST_F(ClickRuleTest, a_press_dragged_onto_another_control_clicks_neither_and_holds_until_released_over_nothing)
{
    input.MoveTo(50, 30);
    DrawAB();
    input.Press();
    DrawAB();
    input.MoveTo(200, 30);
    DrawAB();
    input.Release();
    EXPECT_EQ(DrawAB(), std::make_pair(false, false));
    EXPECT_EQ(ui.activeId, kA);  // up, but over B

    input.Press();  // B cannot take the mouse while A holds it
    DrawAB();
    input.Release();
    EXPECT_EQ(DrawAB(), std::make_pair(false, false));

    input.MoveTo(500, 500);
    DrawAB();
    DrawAB();
    EXPECT_EQ(ui.activeId, 0);
    input.MoveTo(200, 30);
    DrawAB();
    input.Press();
    DrawAB();
    input.Release();
    EXPECT_EQ(DrawAB(), std::make_pair(false, true));
}

TEST_F(ClickRuleTest, a_press_and_release_within_one_frame_clicks_nothing_until_the_next_press_and_release)
{
    input.MoveTo(50, 30);
    DrawAB();
    input.Press();
    input.Release();
    EXPECT_EQ(DrawAB(), std::make_pair(false, false));
    EXPECT_EQ(ui.activeId, kA);
    input.Press();
    DrawAB();
    input.Release();
    EXPECT_EQ(DrawAB(), std::make_pair(true, false));
}

TEST_F(ClickRuleTest, a_disabled_button_lights_up_but_never_takes_the_mouse_or_clicks)
{
    input.MoveTo(50, 30);
    DrawAB(false);
    EXPECT_EQ(ui.hotId, kA);
    const DrawRecord label = graphics.Text("A");
    EXPECT_EQ(label.colour, ui.shades[2]);
    input.Press();
    DrawAB(false);
    EXPECT_EQ(ui.activeId, 0);
    input.Release();
    EXPECT_EQ(DrawAB(false), std::make_pair(false, false));
}

TEST_F(ClickRuleTest, a_control_in_a_rectangle_that_is_not_open_draws_nothing_and_never_clicks)
{
    input.MoveTo(50, 30);
    bool clicked = false;
    auto draw = [&] {
        ui.SetCurrentRectEdges(50, 20, 50, 50);
        clicked = uiButton(theUIContext, kA, "A", "gui-1", true, 1000) || clicked;
    };
    Frame(draw);
    EXPECT_TRUE(graphics.log.empty());
    EXPECT_EQ(ui.hotId, 0);
    input.Press();
    Frame(draw);
    input.Release();
    Frame(draw);
    EXPECT_FALSE(clicked);
}

TEST_F(ClickRuleTest, panels_brighten_while_hot_and_while_pressed)
{
    auto panelColour = [&] {
        DrawAB();
        return graphics.From("gradient1024").at(0).colour;
    };
    input.MoveTo(500, 500);
    EXPECT_EQ(panelColour(), ui.dimColour);
    input.MoveTo(50, 30);
    EXPECT_EQ(panelColour(), ui.shades[2]);
    input.Press();
    EXPECT_EQ(panelColour(), ui.shades[4]);
}

TEST_F(ClickRuleTest, a_button_click_ends_text_entry)
{
    ui.textEntryOwner = 77;
    input.MoveTo(50, 30);
    DrawAB();
    input.Press();
    DrawAB();
    EXPECT_EQ(ui.textEntryOwner, 77);
    input.Release();
    DrawAB();
    EXPECT_EQ(ui.textEntryOwner, 0);
}

TEST_F(ClickRuleTest, the_next_control_colour_paints_exactly_one_control_and_magenta_counts_as_none)
{
    ui.nextControlColour = "#ff0000";
    DrawAB();
    EXPECT_EQ(graphics.Text("A").colour, glm::vec4(1, 0, 0, 1));
    EXPECT_EQ(graphics.Text("B").colour, ui.mainColour);
    EXPECT_TRUE(ui.nextControlColour.empty());

    for (const char* unreadable : {"magenta", "not a colour"}) {
        ui.nextControlColour = unreadable;
        DrawAB();
        EXPECT_EQ(graphics.Text("A").colour, ui.mainColour) << unreadable;
        EXPECT_TRUE(ui.nextControlColour.empty());
    }
}

// --- Settings, colours, fonts and bitmaps ----------------------------------

TEST_F(UITest, the_settings_take_the_preference_colours_and_derive_the_dim_colour_and_shades)
{
    const glm::vec4 main{0x35 / 255.0f, 0xc0 / 255.0f, 0xe8 / 255.0f, 1.0f};  // "gui-color-main"
    EXPECT_EQ(ui.mainColour, main);
    EXPECT_EQ(ui.knobTextColour, glm::vec4(0, 0, 0, 1));
    const float factors[] = {1.1f, 1.3f, 1.5f, 1.7f, 1.9f};
    for (int i = 0; i < UIContext::kShadeCount; ++i) {
        for (int c = 0; c < 3; ++c)
            EXPECT_NEAR(ui.shades[i][c], main[c] * 0.4f * factors[i], 1e-6f) << "shade " << i;
        EXPECT_EQ(ui.shades[i].a, 1.0f);
    }
}

TEST_F(UITest, fonts_come_by_preference_tag_and_an_unknown_tag_falls_back_to_the_default_font)
{
    EXPECT_EQ(static_cast<qeltest::RecordingFont*>(ui.GetFont("gui-1"))->Name(), "DejaVuSans16");
    EXPECT_EQ(static_cast<qeltest::RecordingFont*>(ui.GetFont("gui-2"))->Name(), "DejaVuSans-Bold20");
    QelBitmapFont* fallback = ui.GetFont("no-such-tag");
    ASSERT_NE(fallback, nullptr);
    EXPECT_EQ(static_cast<qeltest::RecordingFont*>(fallback)->Name(), "defaultsans24");
    EXPECT_EQ(ui.GetFont("no-such-tag"), fallback);  // and the map is left as it was
    EXPECT_EQ(ui.GetFont(""), fallback);
}

// Baked when first asked for, so a screen waits only for its own fonts; the
// rest one at a time between frames, the default font last.
TEST_F(UITest, fonts_are_baked_when_first_wanted_or_one_a_step)
{
    EXPECT_TRUE(graphics.fonts.empty());
    ui.GetFont("gui-3");
    EXPECT_EQ(graphics.fonts.size(), 1u);
    ui.GetFont("gui-3");
    EXPECT_EQ(graphics.fonts.size(), 1u);
    const size_t listed = AppData::FontList(AppData::FontListKey()).size();
    size_t steps = 0;
    while (ui.LoadNextFont()) {
        ++steps;
        ASSERT_LE(steps, listed) << "one font a step";
        EXPECT_EQ(graphics.fonts.count("defaultsans24") != 0, steps == listed) << "the default font last";
    }
    EXPECT_EQ(steps, listed) << "the other tags, then the default font";
    EXPECT_EQ(graphics.fonts.size(), listed + 1);
}

TEST_F(UITest, a_missing_bitmap_is_logged_once_and_not_looked_for_every_frame)
{
    const size_t linesBefore = theConsoleLog.Count();
    for (int frame = 0; frame < 5; ++frame) {
        Frame([&] { EXPECT_FALSE(uiBitmapButton(theUIContext, 5, "no_such_picture", 100, 100, 1.0f)); });
        EXPECT_TRUE(graphics.log.empty());
    }
    EXPECT_EQ(graphics.loadRequests["no_such_picture"], 1);
    ASSERT_EQ(theConsoleLog.Count(), linesBefore + 1);
    EXPECT_EQ(theConsoleLog.Line(theConsoleLog.Count() - 1).text, "BITMAP FILE NOT FOUND: no_such_picture");
    EXPECT_EQ(theConsoleLog.Line(theConsoleLog.Count() - 1).colour, glm::vec4(1, 0, 0, 1));
}

TEST_F(UITest, without_graphics_or_input_the_controls_draw_nothing_and_see_nothing)
{
    gGraphicsFactory = nullptr;
    gInputFactory = nullptr;
    ui.SetCurrentRectEdges(0, 0, 100, 30);
    ui.BeginFrame();
    EXPECT_FALSE(uiButton(theUIContext, 1, "A", "gui-1", true, 1000));
    EXPECT_EQ(ui.hotId, 0);
    ui.EndFrame();
}

// --- Panels -------------------------------------------------------------------

TEST_F(UITest, a_panel_is_a_gradient_fill_with_an_outline_at_twice_the_brightness_and_a_cut_corner)
{
    const glm::vec4 colour{0.2f, 0.3f, 0.4f, 0.5f};
    uiFrame(theUIContext, 0, 100, 100, 300, 160, colour, 1000);

    const auto fills = graphics.From("gradient1024");
    ASSERT_EQ(fills.size(), 2u);  // above the chamfer, and beside it, inside the outline
    EXPECT_EQ(fills[0].colour, colour);
    EXPECT_FLOAT_EQ(fills[0].Top(), 101.0f);
    EXPECT_FLOAT_EQ(fills[0].Bottom(), 149.0f);  // the inner bottom less the cut
    // The lower part's bottom-right corner lies on the chamfer.
    EXPECT_FLOAT_EQ(fills[1].dest[6], 289.0f);
    EXPECT_FLOAT_EQ(fills[1].dest[7], 159.0f);

    const auto lines = graphics.Of(DrawRecord::Kind::Line);
    ASSERT_EQ(lines.size(), 5u);
    for (const DrawRecord& line : lines) {
        EXPECT_EQ(line.colour, glm::vec4(0.4f, 0.6f, 0.8f, 0.5f));
        EXPECT_EQ(line.layer, 1000);
    }
    const DrawRecord& diagonal = lines[4];
    EXPECT_NEAR(diagonal.dest[2] - diagonal.dest[0], diagonal.dest[1] - diagonal.dest[3], 1e-4f);  // 45 degrees
}

TEST_F(UITest, knob_styles_fill_solid_with_a_smaller_cut_and_other_styles_draw_nothing)
{
    const glm::vec4 colour{1, 1, 1, 1};
    uiFrame(theUIContext, 18, 0, 0, 40, 20, colour, 1001);
    auto quads = graphics.Of(DrawRecord::Kind::Quad);
    ASSERT_EQ(quads.size(), 1u);  // style 18: a plain rectangle
    EXPECT_EQ(quads[0].source, "smallWhite");
    EXPECT_FLOAT_EQ(quads[0].Right(), 40.0f);
    EXPECT_FLOAT_EQ(quads[0].Bottom(), 20.0f);
    EXPECT_TRUE(graphics.Of(DrawRecord::Kind::Line).empty());

    graphics.log.clear();
    uiFrame(theUIContext, 10, 0, 0, 40, 20, colour, 1001);
    EXPECT_FLOAT_EQ(graphics.Of(DrawRecord::Kind::Quad).at(1).dest[6], 32.0f);  // chamfer 8

    graphics.log.clear();
    uiFrame(theUIContext, 19, 0, 0, 40, 20, colour, 1001);
    uiFrame(theUIContext, 0, 40, 0, 40, 20, colour, 1001);  // no width
    EXPECT_TRUE(graphics.log.empty());
}

}  // namespace
