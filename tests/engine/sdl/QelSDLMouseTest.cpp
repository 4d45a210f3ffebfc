#include "engine/sdl/QelSDLMouse.h"

#include <gtest/gtest.h>

namespace {

struct Edges {
    bool pressed;
    bool down;
    bool released;
};

Edges EdgesOf(QelSDLMouse& mouse, int button)
{
    return {mouse.WasPressed(button), mouse.IsDown(button), mouse.WasReleased(button)};
}

void ExpectEdges(QelSDLMouse& mouse, int button, Edges expected, const char* when)
{
    const Edges got = EdgesOf(mouse, button);
    EXPECT_EQ(got.pressed, expected.pressed) << when;
    EXPECT_EQ(got.down, expected.down) << when;
    EXPECT_EQ(got.released, expected.released) << when;
}

TEST(QelSDLMouse, click_within_one_frame_still_shows_press_then_release)
{
    QelSDLMouse mouse;
    mouse.OnButtonDown(0);
    mouse.OnButtonUp(0);
    mouse.UpdateButtons();
    ExpectEdges(mouse, 0, {true, true, false}, "first update");
    mouse.UpdateButtons();
    ExpectEdges(mouse, 0, {false, false, true}, "second update");
    mouse.UpdateButtons();
    ExpectEdges(mouse, 0, {false, false, false}, "third update");
}

TEST(QelSDLMouse, release_is_seen_one_update_late)
{
    QelSDLMouse mouse;
    mouse.OnButtonDown(2);
    mouse.UpdateButtons();
    mouse.UpdateButtons();
    mouse.OnButtonUp(2);
    mouse.UpdateButtons();
    ExpectEdges(mouse, 2, {false, true, false}, "update after the release");
    mouse.UpdateButtons();
    ExpectEdges(mouse, 2, {false, false, true}, "second update after it");
    EXPECT_EQ(mouse.buttons[2].releaseCountdown, 0);
}

TEST(QelSDLMouse, two_releases_in_a_frame_add_to_the_countdown)
{
    QelSDLMouse mouse;
    mouse.OnButtonDown(1);
    mouse.OnButtonUp(1);
    mouse.OnButtonUp(1);
    EXPECT_EQ(mouse.buttons[1].releaseCountdown, 3);
}

TEST(QelSDLMouse, motion_counts_only_while_relative_and_a_position_read_leaves_relative_mode)
{
    QelSDLMouse mouse;
    int32_t dx = -1, dy = -1;
    mouse.OnRelativeMove(5, 5);
    mouse.GetMotion(dx, dy);  // switches relative mode on, from zero
    EXPECT_EQ(dx, 0);
    EXPECT_EQ(dy, 0);
    mouse.OnRelativeMove(3, -2);
    mouse.OnRelativeMove(1, 1);
    mouse.GetMotion(dx, dy);
    EXPECT_EQ(dx, 4);
    EXPECT_EQ(dy, -1);

    mouse.OnMove(100, 50);
    EXPECT_EQ(mouse.GetX(0), 100);
    EXPECT_EQ(mouse.GetY(4), 50);
    EXPECT_EQ(mouse.relativeMode, 0);
    mouse.OnRelativeMove(7, 7);
    mouse.GetMotion(dx, dy);
    EXPECT_EQ(dx, 0);
    EXPECT_EQ(dy, 0);
}

}  // namespace
