#include "engine/sdl/QelSDLKeyboard.h"

#include <gtest/gtest.h>

namespace {

constexpr int32_t kKeyA = 'A';

TEST(QelSDLKeyboard, press_and_release_edges_last_one_update)
{
    QelSDLKeyboard keyboard;
    keyboard.OnKeyDown(kKeyA);
    EXPECT_TRUE(keyboard.IsKeyDown(kKeyA));
    EXPECT_TRUE(keyboard.IsKeyPressed(kKeyA));
    keyboard.Update();
    EXPECT_FALSE(keyboard.IsKeyPressed(kKeyA));
    EXPECT_TRUE(keyboard.IsKeyDown(kKeyA));

    keyboard.OnKeyUp(kKeyA);
    EXPECT_TRUE(keyboard.IsKeyReleased(kKeyA));
    keyboard.Update();
    EXPECT_FALSE(keyboard.IsKeyReleased(kKeyA));
}

TEST(QelSDLKeyboard, press_and_release_within_one_frame_gives_no_edge_but_stays_queued)
{
    QelSDLKeyboard keyboard;
    keyboard.OnKeyDown(kKeyA);
    keyboard.OnKeyUp(kKeyA);
    keyboard.Update();
    EXPECT_FALSE(keyboard.IsKeyPressed(kKeyA));
    EXPECT_FALSE(keyboard.IsKeyReleased(kKeyA));
    int32_t key = 0;
    ASSERT_TRUE(keyboard.PopKeyDown(key));
    EXPECT_EQ(key, kKeyA);
    EXPECT_FALSE(keyboard.PopKeyDown(key));
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
