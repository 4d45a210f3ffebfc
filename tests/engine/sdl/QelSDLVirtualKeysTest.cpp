#include "engine/sdl/QelSDLVirtualKeys.h"

#include <SDL2/SDL_keyboard.h>
#include <gtest/gtest.h>

namespace {

struct KeyCase {
    SDL_Scancode scancode;
    int32_t key;
};

TEST(QelSDLVirtualKeys, letters_digits_function_keys_arrows_and_modifiers_get_windows_numbers)
{
    const KeyCase cases[] = {
        {SDL_SCANCODE_A, 'A'}, {SDL_SCANCODE_M, 'M'}, {SDL_SCANCODE_Z, 'Z'},
        {SDL_SCANCODE_0, '0'}, {SDL_SCANCODE_1, '1'}, {SDL_SCANCODE_9, '9'},
        {SDL_SCANCODE_F1, 0x70}, {SDL_SCANCODE_F10, 0x79}, {SDL_SCANCODE_F12, 0x7B},
        {SDL_SCANCODE_F13, 0x7C}, {SDL_SCANCODE_F24, 0x87},
        {SDL_SCANCODE_LEFT, 0x25}, {SDL_SCANCODE_UP, 0x26}, {SDL_SCANCODE_RIGHT, 0x27}, {SDL_SCANCODE_DOWN, 0x28},
        {SDL_SCANCODE_LSHIFT, 0x10}, {SDL_SCANCODE_RSHIFT, 0x10},
        {SDL_SCANCODE_LCTRL, 0x11}, {SDL_SCANCODE_RCTRL, 0x11},
        {SDL_SCANCODE_LALT, 0x12}, {SDL_SCANCODE_RALT, 0x12},
        {SDL_SCANCODE_RETURN, 0x0D}, {SDL_SCANCODE_KP_ENTER, 0x0D}, {SDL_SCANCODE_ESCAPE, 0x1B},
        {SDL_SCANCODE_BACKSPACE, 0x08}, {SDL_SCANCODE_TAB, 0x09}, {SDL_SCANCODE_SPACE, 0x20},
        {SDL_SCANCODE_KP_0, 0x60}, {SDL_SCANCODE_KP_9, 0x69}, {SDL_SCANCODE_PAGEUP, 0x21},
        {SDL_SCANCODE_GRAVE, 0xC0}, {SDL_SCANCODE_MINUS, 0xBD},
    };
    for (const KeyCase& c : cases)
        EXPECT_EQ(VirtualKeyFromScancode(c.scancode), c.key) << SDL_GetScancodeName(c.scancode);
}

TEST(QelSDLVirtualKeys, keys_without_a_windows_number_give_zero)
{
    EXPECT_EQ(VirtualKeyFromScancode(SDL_SCANCODE_UNKNOWN), 0);
    EXPECT_EQ(VirtualKeyFromScancode(SDL_SCANCODE_MUTE), 0);
}

}  // namespace
