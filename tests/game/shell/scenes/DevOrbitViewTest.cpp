// The developer orbit camera's rules: the wheel's zoom and its limits, the
// held keys of a tick, and a drag that turns the view only when it did not
// begin on a control.

#include "engine/base/QelVirtualKeys.h"
#include "game/shell/scenes/DevOrbitView.h"
#include "tests/game/ui/UITestFixture.h"

#include <glm/geometric.hpp>

namespace {

class DevOrbitViewTest : public UITest {};

TEST_F(DevOrbitViewTest, the_wheel_zooms_by_its_share_and_stops_at_the_limits)
{
    const struct {
        float from;
        int32_t wheel;
        float expected;
    } cases[] = {
        {300.0f, 120, 264.0f},     // 120 brings it 12 % closer
        {300.0f, -120, 336.0f},
        {55.0f, 500, 50.0f},       // the nearest
        {9000.0f, -500, 10000.0f}, // the farthest
        {300.0f, 0, 300.0f},
    };
    for (const auto& c : cases) {
        DevOrbitView view;
        view.distance = c.from;
        view.Zoom(c.wheel);
        EXPECT_FLOAT_EQ(view.distance, c.expected) << c.from << " by " << c.wheel;
    }
}

TEST_F(DevOrbitViewTest, held_keys_turn_tilt_and_zoom_within_limits)
{
    DevOrbitView view;
    view.pitchValue = 0.995f;
    view.distance = 60.0f;
    for (int32_t key : {qel::vk::kLetterA + ('D' - 'A'), qel::vk::kLetterA + ('W' - 'A'), qel::vk::kInsert})
        input.KeyDown(key);
    view.ApplyHeldKeys(*input.GetKeyboard());
    EXPECT_FLOAT_EQ(view.yawValue, 0.1f);
    EXPECT_FLOAT_EQ(view.pitchValue, 1.0f);
    EXPECT_FLOAT_EQ(view.distance, 50.0f);
    // The eye keeps its distance from the origin whatever the angles.
    EXPECT_NEAR(glm::length(view.EyePosition()), 50.0f, 1e-3f);
}

TEST_F(DevOrbitViewTest, a_drag_turns_the_view_unless_it_began_on_a_control)
{
    DevOrbitView view;
    input.MoveTo(400, 300);
    input.Press();
    Frame([&] { view.Drag(ui); });
    input.MoveTo(300, 200);
    Frame([&] { view.Drag(ui); });
    EXPECT_FLOAT_EQ(view.yawValue, 1.0f);     // 100 pixels left × 0.01
    EXPECT_FLOAT_EQ(view.pitchValue, 0.1f);   // 100 pixels up × 0.001
    input.Release();
    Frame([&] { view.Drag(ui); });
    EXPECT_FALSE(view.dragging);

    DevOrbitView onControl;
    input.MoveTo(400, 300);
    input.Press();
    Frame([&] { ui.activeId = 7; });  // a control took the press
    input.MoveTo(100, 100);
    Frame([&] { onControl.Drag(ui); });
    EXPECT_FLOAT_EQ(onControl.yawValue, 0.0f);
    EXPECT_FLOAT_EQ(onControl.pitchValue, 0.0f);
}

}  // namespace
