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
    mouse.OnButtonDown(0, 0);
    mouse.OnButtonUp(0, 0);
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
    mouse.OnButtonDown(2, 0);
    mouse.UpdateButtons();
    mouse.UpdateButtons();
    mouse.OnButtonUp(2, 0);
    mouse.UpdateButtons();
    ExpectEdges(mouse, 2, {false, true, false}, "update after the release");
    mouse.UpdateButtons();
    ExpectEdges(mouse, 2, {false, false, true}, "second update after it");
    EXPECT_EQ(mouse.buttons[2].releaseCountdown, 0);
}

TEST(QelSDLMouse, two_releases_in_a_frame_add_to_the_countdown)
{
    QelSDLMouse mouse;
    mouse.OnButtonDown(1, 0);
    mouse.OnButtonUp(1, 0);
    mouse.OnButtonUp(1, 0);
    EXPECT_EQ(mouse.buttons[1].releaseCountdown, 3);
}

TEST(QelSDLMouse, a_press_lasts_from_its_down_event_to_its_up_event_whatever_the_frames)
{
    QelSDLMouse mouse;
    EXPECT_EQ(mouse.LastPressMilliseconds(0), QelMouse::kUnknownPressMilliseconds) << "no press yet";
    mouse.OnButtonDown(0, 5000);
    for (int frame = 0; frame < 40; ++frame)  // frames far slower than the hand
        mouse.UpdateButtons();
    mouse.OnButtonUp(0, 5120);
    EXPECT_EQ(mouse.LastPressMilliseconds(0), 120u);

    mouse.OnButtonDown(2, 0xFFFFFF00u);
    mouse.OnButtonUp(2, 0x00000100u);
    EXPECT_EQ(mouse.LastPressMilliseconds(2), 0x200u) << "across the event clock's wrap";

    mouse.OnButtonUp(1, 9000);
    EXPECT_EQ(mouse.LastPressMilliseconds(1), QelMouse::kUnknownPressMilliseconds)
        << "a release whose press began outside the window";
    EXPECT_EQ(mouse.LastPressMilliseconds(QelMouse::kButtonCount), QelMouse::kUnknownPressMilliseconds);
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
