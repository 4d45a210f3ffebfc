#include "engine/sdl/QelSDLVirtualKeys.h"

#include "engine/base/QelVirtualKeys.h"

namespace {

using namespace qel::vk;

// Keys that come in runs with consecutive numbers on both sides.
struct ScancodeRun {
    SDL_Scancode first;
    SDL_Scancode last;
    int32_t firstKey;
};

constexpr ScancodeRun kRuns[] = {
    {SDL_SCANCODE_A, SDL_SCANCODE_Z, kLetterA},
    {SDL_SCANCODE_1, SDL_SCANCODE_9, kDigit0 + 1},
    {SDL_SCANCODE_F1, SDL_SCANCODE_F12, kF1},
    {SDL_SCANCODE_F13, SDL_SCANCODE_F24, kF1 + 12},
    {SDL_SCANCODE_KP_1, SDL_SCANCODE_KP_9, kNumpad0 + 1},
};

struct ScancodeKey {
    SDL_Scancode scancode;
    int32_t key;
};

constexpr ScancodeKey kSingles[] = {
    {SDL_SCANCODE_0, kDigit0},
    {SDL_SCANCODE_KP_0, kNumpad0},
    {SDL_SCANCODE_RETURN, kReturn},
    {SDL_SCANCODE_KP_ENTER, kReturn},
    {SDL_SCANCODE_ESCAPE, kEscape},
    {SDL_SCANCODE_BACKSPACE, kBack},
    {SDL_SCANCODE_TAB, kTab},
    {SDL_SCANCODE_SPACE, kSpace},
    {SDL_SCANCODE_MINUS, kOemMinus},
    {SDL_SCANCODE_EQUALS, kOemPlus},
    {SDL_SCANCODE_LEFTBRACKET, kOemOpenBracket},
    {SDL_SCANCODE_RIGHTBRACKET, kOemCloseBracket},
    {SDL_SCANCODE_BACKSLASH, kOemBackslash},
    {SDL_SCANCODE_NONUSHASH, kOemBackslash},
    {SDL_SCANCODE_SEMICOLON, kOemSemicolon},
    {SDL_SCANCODE_APOSTROPHE, kOemQuote},
    {SDL_SCANCODE_GRAVE, kOemBacktick},
    {SDL_SCANCODE_COMMA, kOemComma},
    {SDL_SCANCODE_PERIOD, kOemPeriod},
    {SDL_SCANCODE_SLASH, kOemSlash},
    {SDL_SCANCODE_NONUSBACKSLASH, kOem102},
    {SDL_SCANCODE_CAPSLOCK, kCapital},
    {SDL_SCANCODE_PRINTSCREEN, kSnapshot},
    {SDL_SCANCODE_SCROLLLOCK, kScrollLock},
    {SDL_SCANCODE_PAUSE, kPause},
    {SDL_SCANCODE_INSERT, kInsert},
    {SDL_SCANCODE_HOME, kHome},
    {SDL_SCANCODE_PAGEUP, kPrior},
    {SDL_SCANCODE_DELETE, kDelete},
    {SDL_SCANCODE_END, kEnd},
    {SDL_SCANCODE_PAGEDOWN, kNext},
    {SDL_SCANCODE_RIGHT, kRight},
    {SDL_SCANCODE_LEFT, kLeft},
    {SDL_SCANCODE_DOWN, kDown},
    {SDL_SCANCODE_UP, kUp},
    {SDL_SCANCODE_NUMLOCKCLEAR, kNumLock},
    {SDL_SCANCODE_KP_DIVIDE, kDivide},
    {SDL_SCANCODE_KP_MULTIPLY, kMultiply},
    {SDL_SCANCODE_KP_MINUS, kSubtract},
    {SDL_SCANCODE_KP_PLUS, kAdd},
    {SDL_SCANCODE_KP_PERIOD, kDecimal},
    {SDL_SCANCODE_APPLICATION, kApps},
    {SDL_SCANCODE_LSHIFT, kShift},
    {SDL_SCANCODE_RSHIFT, kShift},
    {SDL_SCANCODE_LCTRL, kControl},
    {SDL_SCANCODE_RCTRL, kControl},
    {SDL_SCANCODE_LALT, kMenu},
    {SDL_SCANCODE_RALT, kMenu},
    {SDL_SCANCODE_LGUI, kLeftWindows},
    {SDL_SCANCODE_RGUI, kRightWindows},
};

}  // namespace

int32_t VirtualKeyFromScancode(SDL_Scancode scancode)
{
    for (const ScancodeRun& run : kRuns) {
        if (scancode >= run.first && scancode <= run.last)
            return run.firstKey + (scancode - run.first);
    }
    for (const ScancodeKey& single : kSingles) {
        if (single.scancode == scancode)
            return single.key;
    }
    return 0;
}
