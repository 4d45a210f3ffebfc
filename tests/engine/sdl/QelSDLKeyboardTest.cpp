#include "engine/sdl/QelSDLKeyboard.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

constexpr int32_t kKeyA = 'A';

// A frame as the loop runs it: the frame and tick steps read the plain edges,
// the input update takes its copy, the draw reads the since-frame-end edges,
// and the frame ends. Events come in before the next one.
struct FrameSeen {
    bool pressed = false, released = false, down = false;
    bool pressedInDraw = false, releasedInDraw = false;
};

FrameSeen RunFrame(QelSDLKeyboard& keyboard, int32_t key)
{
    FrameSeen seen;
    seen.pressed = keyboard.IsKeyPressed(key);
    seen.released = keyboard.IsKeyReleased(key);
    seen.down = keyboard.IsKeyDown(key);
    keyboard.Update();
    seen.pressedInDraw = keyboard.IsKeyPressed(key, true);
    seen.releasedInDraw = keyboard.IsKeyReleased(key, true);
    keyboard.CopyEndOfFrame();
    return seen;
}

TEST(QelSDLKeyboard, press_and_release_edges_last_one_frame)
{
    QelSDLKeyboard keyboard;
    keyboard.OnKeyDown(kKeyA);
    FrameSeen seen = RunFrame(keyboard, kKeyA);
    EXPECT_TRUE(seen.pressed && seen.pressedInDraw && seen.down);
    seen = RunFrame(keyboard, kKeyA);
    EXPECT_FALSE(seen.pressed || seen.pressedInDraw);
    EXPECT_TRUE(seen.down);

    keyboard.OnKeyUp(kKeyA);
    seen = RunFrame(keyboard, kKeyA);
    EXPECT_TRUE(seen.released && seen.releasedInDraw);
    EXPECT_FALSE(seen.down);
    seen = RunFrame(keyboard, kKeyA);
    EXPECT_FALSE(seen.released || seen.releasedInDraw);
}

// However the taps fall between frames, each shows as one press in one frame
// and one release in a later one, to both the plain and the draw's queries.
TEST(QelSDLKeyboard, every_tap_shorter_than_a_frame_is_seen_once)
{
    const struct {
        const char* name;
        std::vector<int> tapsBeforeFrame;  // taps made before each frame
    } cases[] = {
        {"one tap within a frame", {1}},
        {"a tap before every frame", {1, 1, 1, 1, 1, 1, 1, 1}},
        {"eight taps within one long frame", {8}},
        {"taps bunched and spread", {3, 0, 1, 0, 0, 2, 2}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        QelSDLKeyboard keyboard;
        int taps = 0, pressed = 0, released = 0, pressedInDraw = 0, releasedInDraw = 0, framesDown = 0;
        for (size_t frame = 0; frame < c.tapsBeforeFrame.size() + 40; ++frame) {
            const int now = frame < c.tapsBeforeFrame.size() ? c.tapsBeforeFrame[frame] : 0;
            for (int tap = 0; tap < now; ++tap) {
                keyboard.OnKeyDown(kKeyA);
                keyboard.OnKeyUp(kKeyA);
            }
            taps += now;
            const FrameSeen seen = RunFrame(keyboard, kKeyA);
            pressed += seen.pressed;
            released += seen.released;
            pressedInDraw += seen.pressedInDraw;
            releasedInDraw += seen.releasedInDraw;
            framesDown += seen.down;
        }
        EXPECT_EQ(pressed, taps);
        EXPECT_EQ(released, taps);
        EXPECT_EQ(pressedInDraw, taps);
        EXPECT_EQ(releasedInDraw, taps);
        EXPECT_EQ(framesDown, taps);
        EXPECT_EQ(keyboard.keyDownQueue.size(), static_cast<size_t>(taps));
        EXPECT_FALSE(keyboard.IsKeyDown(kKeyA));
    }
}

TEST(QelSDLKeyboard, repeats_and_other_keys_do_not_hold_a_key_back)
{
    QelSDLKeyboard keyboard;
    keyboard.OnKeyDown(kKeyA);
    keyboard.OnKeyDown(kKeyA);  // auto-repeat: no change of state
    keyboard.OnKeyDown('B');
    keyboard.OnKeyUp('B');
    EXPECT_TRUE(keyboard.IsKeyDown(kKeyA));
    EXPECT_TRUE(keyboard.IsKeyDown('B'));  // its release waits for the frame end
    RunFrame(keyboard, kKeyA);
    EXPECT_TRUE(keyboard.IsKeyDown(kKeyA));
    EXPECT_FALSE(keyboard.IsKeyDown('B'));
    keyboard.OnKeyUp(kKeyA);  // A changed only in an earlier frame: at once
    EXPECT_FALSE(keyboard.IsKeyDown(kKeyA));
    EXPECT_EQ(keyboard.keyDownQueue, (std::vector<int32_t>{kKeyA, kKeyA, 'B'}));
}

// Endless taps within one frame wait only up to the limit, and the key still
// ends up where it was left.
TEST(QelSDLKeyboard, a_flood_of_taps_is_bounded_and_ends_released)
{
    QelSDLKeyboard keyboard;
    for (int tap = 0; tap < 1000; ++tap) {
        keyboard.OnKeyDown(kKeyA);
        keyboard.OnKeyUp(kKeyA);
    }
    int frames = 0;
    while (keyboard.waitingChanges[kKeyA] != 0 && frames < 1000) {
        RunFrame(keyboard, kKeyA);
        ++frames;
    }
    EXPECT_LE(frames, QelSDLKeyboard::kMaxWaitingChanges);
    RunFrame(keyboard, kKeyA);
    EXPECT_FALSE(keyboard.IsKeyDown(kKeyA));
}

TEST(QelSDLKeyboard, since_frame_end_forms_see_a_press_made_after_the_last_frame)
{
    QelSDLKeyboard keyboard;
    keyboard.Update();
    keyboard.CopyEndOfFrame();
    // Pressed during the draw of the next frame, after its input update.
    keyboard.Update();
    keyboard.OnKeyDown(kKeyA);
    EXPECT_TRUE(keyboard.IsKeyPressed(kKeyA, true));
    keyboard.CopyEndOfFrame();
    keyboard.Update();
    // The next frame: the plain form saw the press already in the previous copy.
    EXPECT_FALSE(keyboard.IsKeyPressed(kKeyA));
    EXPECT_FALSE(keyboard.IsKeyPressed(kKeyA, true));
    keyboard.OnKeyUp(kKeyA);
    EXPECT_TRUE(keyboard.IsKeyReleased(kKeyA, true));
}

TEST(QelSDLKeyboard, queues_give_entries_oldest_first)
{
    QelSDLKeyboard keyboard;
    keyboard.OnChar('h');
    keyboard.OnChar('i');
    int32_t character = 0;
    ASSERT_TRUE(keyboard.PopTypedChar(character));
    EXPECT_EQ(character, 'h');
    ASSERT_TRUE(keyboard.PopTypedChar(character));
    EXPECT_EQ(character, 'i');
    character = -5;
    EXPECT_FALSE(keyboard.PopTypedChar(character));
    EXPECT_EQ(character, -5);
}

TEST(QelSDLKeyboard, unread_input_survives_300_idle_frames_then_drains_one_per_frame)
{
    QelSDLKeyboard keyboard;
    keyboard.OnChar('a');
    keyboard.OnChar('b');
    keyboard.OnKeyDown(kKeyA);
    for (int i = 0; i < 300; ++i)
        keyboard.Update();
    EXPECT_EQ(keyboard.charQueue.size(), 2u);
    EXPECT_EQ(keyboard.keyDownQueue.size(), 1u);
    keyboard.Update();
    EXPECT_EQ(keyboard.charQueue, std::vector<int32_t>{'b'});
    EXPECT_TRUE(keyboard.keyDownQueue.empty());
    keyboard.Update();
    EXPECT_TRUE(keyboard.charQueue.empty());
}

TEST(QelSDLKeyboard, new_input_restarts_its_own_queue_idle_count_only)
{
    QelSDLKeyboard keyboard;
    keyboard.OnChar('a');
    keyboard.OnKeyDown(kKeyA);
    for (int i = 0; i < 200; ++i)
        keyboard.Update();
    keyboard.OnKeyUp(kKeyA);  // key activity: the character queue keeps ageing
    for (int i = 0; i < 101; ++i)
        keyboard.Update();
    EXPECT_TRUE(keyboard.charQueue.empty());
    EXPECT_EQ(keyboard.keyDownQueue.size(), 1u);
}

TEST(QelSDLKeyboard, keys_outside_0_to_255_are_ignored)
{
    QelSDLKeyboard keyboard;
    keyboard.OnKeyDown(256);
    keyboard.OnKeyDown(-1);
    EXPECT_FALSE(keyboard.IsKeyDown(256));
    EXPECT_FALSE(keyboard.IsKeyPressed(-1));
    EXPECT_TRUE(keyboard.keyDownQueue.empty());
}

}  // namespace
