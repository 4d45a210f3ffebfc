#include "engine/sdl/QelSDLEventTranslator.h"

#include <gtest/gtest.h>

#include <cstring>

#include "engine/sdl/QelSDLKeyboard.h"
#include "engine/sdl/QelSDLMouse.h"

namespace {

class QelSDLEventTranslatorTest : public ::testing::Test {
protected:
    bool Key(Uint32 type, SDL_Scancode scancode, bool repeat = false)
    {
        SDL_Event event{};
        event.type = type;
        event.key.keysym.scancode = scancode;
        event.key.repeat = repeat ? 1 : 0;
        return translator.Translate(event);
    }

    void Text(const char* utf8)
    {
        SDL_Event event{};
        event.type = SDL_TEXTINPUT;
        std::strncpy(event.text.text, utf8, sizeof event.text.text - 1);
        translator.Translate(event);
    }

    void Drop(Uint32 type, const char* path = nullptr)
    {
        SDL_Event event{};
        event.type = type;
        event.drop.file = path ? SDL_strdup(path) : nullptr;
        translator.Translate(event);
    }

    QelSDLKeyboard keyboard;
    QelSDLMouse mouse;
    std::vector<std::string> dropped;
    int joystickRefreshes = 0;
    QelSDLEventTranslator translator{keyboard, mouse, dropped, [this] { ++joystickRefreshes; }};
};

TEST_F(QelSDLEventTranslatorTest, key_down_and_repeats_are_queued_as_virtual_keys)
{
    Key(SDL_KEYDOWN, SDL_SCANCODE_W);
    Key(SDL_KEYDOWN, SDL_SCANCODE_W, true);
    Key(SDL_KEYDOWN, SDL_SCANCODE_RSHIFT);
    EXPECT_TRUE(keyboard.IsKeyDown('W'));
    EXPECT_TRUE(keyboard.IsKeyDown(0x10));
    EXPECT_EQ(keyboard.keyDownQueue, (std::vector<int32_t>{'W', 'W', 0x10}));
    keyboard.CopyEndOfFrame();  // a frame saw the press
    Key(SDL_KEYUP, SDL_SCANCODE_W);
    EXPECT_FALSE(keyboard.IsKeyDown('W'));
    EXPECT_TRUE(keyboard.charQueue.empty());
}

TEST_F(QelSDLEventTranslatorTest, backspace_tab_enter_and_escape_also_type_their_control_characters)
{
    Key(SDL_KEYDOWN, SDL_SCANCODE_BACKSPACE);
    Key(SDL_KEYDOWN, SDL_SCANCODE_TAB);
    Key(SDL_KEYDOWN, SDL_SCANCODE_RETURN);
    Key(SDL_KEYDOWN, SDL_SCANCODE_KP_ENTER);
    Key(SDL_KEYDOWN, SDL_SCANCODE_ESCAPE);
    Key(SDL_KEYDOWN, SDL_SCANCODE_A);
    EXPECT_EQ(keyboard.charQueue, (std::vector<int32_t>{8, 9, 13, 13, 27}));
}

TEST_F(QelSDLEventTranslatorTest, text_input_queues_one_character_per_code_point)
{
    Text("a\xC3\xA9\xE2\x82\xAC");  // a, e-acute, euro sign
    EXPECT_EQ(keyboard.charQueue, (std::vector<int32_t>{'a', 0xE9, 0x20AC}));
}

TEST_F(QelSDLEventTranslatorTest, malformed_text_input_is_skipped_without_reading_past_it)
{
    Text("\xC3x\xFFy\xE2\x82");
    EXPECT_EQ(keyboard.charQueue, (std::vector<int32_t>{'x', 'y'}));
}

TEST_F(QelSDLEventTranslatorTest, wheel_notches_count_120_and_replace_the_value)
{
    SDL_Event event{};
    event.type = SDL_MOUSEWHEEL;
    event.wheel.y = 2;
    translator.Translate(event);
    EXPECT_EQ(mouse.GetWheel(), 240);
    event.wheel.y = -1;
    translator.Translate(event);
    EXPECT_EQ(mouse.GetWheel(), -120);
    event.wheel.direction = SDL_MOUSEWHEEL_FLIPPED;
    translator.Translate(event);
    EXPECT_EQ(mouse.GetWheel(), 120);
}

TEST_F(QelSDLEventTranslatorTest, motion_is_scaled_from_the_window_to_the_back_buffer)
{
    translator.SetSizes(1024, 768, 2048, 1536);
    SDL_Event event{};
    event.type = SDL_MOUSEMOTION;
    event.motion.x = 301;
    event.motion.y = 99;
    translator.Translate(event);
    for (int button = 0; button < QelMouse::kButtonCount; ++button) {
        EXPECT_EQ(mouse.buttons[button].x, 602);
        EXPECT_EQ(mouse.buttons[button].y, 198);
    }
}

TEST_F(QelSDLEventTranslatorTest, buttons_map_left_middle_right_and_ignore_the_rest)
{
    const struct {
        Uint8 sdlButton;
        int index;
    } cases[] = {{SDL_BUTTON_LEFT, 0}, {SDL_BUTTON_MIDDLE, 1}, {SDL_BUTTON_RIGHT, 2}};
    for (const auto& c : cases) {
        SDL_Event event{};
        event.type = SDL_MOUSEBUTTONDOWN;
        event.button.button = c.sdlButton;
        event.button.timestamp = 1000;
        translator.Translate(event);
        EXPECT_EQ(mouse.buttons[c.index].rawDown, 1) << c.index;
        event.type = SDL_MOUSEBUTTONUP;
        event.button.timestamp = 1250;
        translator.Translate(event);
        EXPECT_EQ(mouse.buttons[c.index].releaseCountdown, 2) << c.index;
        EXPECT_EQ(mouse.LastPressMilliseconds(c.index), 250u) << "timed by the events: " << c.index;
    }
    SDL_Event extra{};
    extra.type = SDL_MOUSEBUTTONDOWN;
    extra.button.button = SDL_BUTTON_X1;
    translator.Translate(extra);
    EXPECT_EQ(mouse.buttons[3].rawDown, 0);
}

TEST_F(QelSDLEventTranslatorTest, of_several_dropped_files_only_the_first_is_taken)
{
    Drop(SDL_DROPBEGIN);
    Drop(SDL_DROPFILE, "/tmp/first.txt");
    Drop(SDL_DROPFILE, "/tmp/second.txt");
    Drop(SDL_DROPCOMPLETE);
    Drop(SDL_DROPBEGIN);
    Drop(SDL_DROPFILE, "/tmp/third.txt");
    Drop(SDL_DROPCOMPLETE);
    EXPECT_EQ(dropped, (std::vector<std::string>{"/tmp/first.txt", "/tmp/third.txt"}));
}

TEST_F(QelSDLEventTranslatorTest, joystick_changes_refresh_and_quit_ends_the_loop)
{
    SDL_Event event{};
    event.type = SDL_JOYDEVICEADDED;
    EXPECT_FALSE(translator.Translate(event));
    event.type = SDL_JOYDEVICEREMOVED;
    translator.Translate(event);
    EXPECT_EQ(joystickRefreshes, 2);
    event.type = SDL_QUIT;
    EXPECT_TRUE(translator.Translate(event));
}

}  // namespace
