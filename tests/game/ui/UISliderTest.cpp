// Sliders: dragging, the display-only bar and the knob's text.

#include "game/ui/UIControls.h"
#include "tests/game/ui/UITestFixture.h"

namespace {

using qeltest::DrawRecord;

class UISliderTest : public UITest {
protected:
    // A bar of 400 × 30 at (100, 100), or an upright one of 30 × 400.
    bool Draw(float& value, bool upright = false, const std::string& mode = "float", float low = 0, float high = 10)
    {
        bool ended = false;
        Frame([&] {
            if (upright)
                ui.SetCurrentRectEdges(100, 100, 130, 500);
            else
                ui.SetCurrentRectEdges(100, 100, 500, 130);
            ended = uiSlider(theUIContext, 20, low, high, value, 1000, mode);
        });
        return ended;
    }

    // The knob: the solid fill drawn one layer above the track, both of its parts.
    DrawRecord Knob() const
    {
        DrawRecord knob;
        bool first = true;
        for (const DrawRecord& record : graphics.Quads("smallWhite")) {
            if (record.layer != 1001)
                continue;
            if (first) {
                knob = record;
                first = false;
            }
            for (int i = 0; i < 8; i += 2) {
                knob.dest[0] = std::min(knob.dest[0], record.dest[i]);
                knob.dest[1] = std::min(knob.dest[1], record.dest[i + 1]);
                knob.dest[6] = std::max(knob.dest[6], record.dest[i]);
                knob.dest[7] = std::max(knob.dest[7], record.dest[i + 1]);
            }
        }
        return knob;
    }
};

TEST_F(UISliderTest, a_pressed_slider_follows_the_mouse_within_its_range_and_reports_when_let_go)
{
    struct Case {
        const char* name;
        bool upright;
        int32_t x, y;  // where the drag ends
        float value;
    };
    const Case cases[] = {
        {"to the middle", false, 300, 115, 5.0f},
        {"beyond the right end", false, 900, 115, 10.0f},
        {"beyond the left end", false, -50, 300, 0.0f},
        {"upright, above its top", true, 115, 20, 10.0f},
        {"upright, a quarter up", true, 115, 400, 2.5f},
    };
    for (const Case& c : cases) {
        float value = 1.0f;
        input.MoveTo(c.upright ? 115 : 120, c.upright ? 450 : 115);
        Draw(value, c.upright);
        input.Press();
        EXPECT_FALSE(Draw(value, c.upright));
        input.MoveTo(c.x, c.y);
        EXPECT_FALSE(Draw(value, c.upright));
        EXPECT_FLOAT_EQ(value, c.value) << c.name;
        input.Release();
        EXPECT_TRUE(Draw(value, c.upright)) << c.name;
        EXPECT_FLOAT_EQ(value, c.value) << c.name;
        input.MoveTo(700, 700);
        EXPECT_FALSE(Draw(value, c.upright));
        EXPECT_EQ(ui.activeId, 0);
    }
}

TEST_F(UISliderTest, a_display_only_bar_never_takes_an_id_or_changes_its_value)
{
    float value = 3.0f;
    input.MoveTo(300, 115);
    Draw(value, false, "justbar");
    EXPECT_EQ(ui.hotId, 0);
    input.Press();
    Draw(value, false, "justbar");
    input.MoveTo(450, 115);
    Draw(value, false, "justbar");
    input.Release();
    EXPECT_FALSE(Draw(value, false, "justbar"));
    EXPECT_EQ(value, 3.0f);
    EXPECT_EQ(ui.activeId, 0);
    EXPECT_TRUE(graphics.Texts().empty());
}

TEST_F(UISliderTest, the_knob_sits_at_the_value_and_shows_it_as_its_mode_says_when_it_fits_on_one_line)
{
    struct Case {
        const char* mode;
        float low, high, value;
        const char* text;  // "" when nothing is drawn
    };
    // The knob is 60 pixels wide: texts of up to 55 pixels (six characters) fit.
    const Case cases[] = {
        {"float", 0, 1, 0.25f, "0.25"},     {"float", 0, 10, 2.25f, "2.2"},
        {"int", 0, 100, 41.7f, "42"},       {"Warp", 0, 1, 0.5f, "Warp"},
        {"Engage", 0, 1, 0.5f, "Engage"},   {"Engaged", 0, 1, 0.5f, ""},
        {"", 0, 1, 0.5f, ""},
    };
    for (const Case& c : cases) {
        float value = c.value;
        input.MoveTo(700, 700);
        Draw(value, false, c.mode, c.low, c.high);
        const auto texts = graphics.Texts();
        if (*c.text == '\0') {
            EXPECT_TRUE(texts.empty()) << c.mode;
        } else {
            ASSERT_EQ(texts.size(), 1u) << c.mode;
            EXPECT_EQ(texts[0], c.text);
            EXPECT_EQ(graphics.Text(c.text).colour, ui.knobTextColour);
            EXPECT_EQ(graphics.Text(c.text).layer, 1002);
        }
    }

    float value = 0.0f;
    Draw(value);
    EXPECT_FLOAT_EQ(Knob().Left(), 100.0f);
    value = 10.0f;
    Draw(value);
    EXPECT_FLOAT_EQ(Knob().Right(), 500.0f);
    value = 0.0f;
    Draw(value, true);  // upright: the minimum at the bottom
    EXPECT_FLOAT_EQ(Knob().Bottom(), 500.0f);
}

TEST_F(UISliderTest, a_row_of_an_editor_column_shows_its_caption_and_value_and_steps_down)
{
    ui.sliderRowId = 200;
    std::string caption = "Scale";
    float value = 0.5f;
    ui.SetCurrentRectEdges(10, 10, 210, 40);
    uiSliderRow(theUIContext, caption, 0, 1, value);
    EXPECT_EQ(graphics.Texts(), (std::vector<std::string>{"Scale", "0.50"}));
    EXPECT_EQ(caption, "0.50");
    EXPECT_EQ(ui.sliderRowId, 201);
    EXPECT_EQ(ui.CurrentRect(), (IntRect{10, 40, 210, 70}));
}

}  // namespace
