#include "engine/sdl/QelSDLEventTranslator.h"

#include <SDL2/SDL_mouse.h>
#include <SDL2/SDL_stdinc.h>

#include <utility>

#include "engine/base/QelVirtualKeys.h"
#include "engine/sdl/QelSDLKeyboard.h"
#include "engine/sdl/QelSDLMouse.h"
#include "engine/sdl/QelSDLVirtualKeys.h"

namespace {

// SDL button numbers to the game's button records; -1 for buttons it ignores.
int ButtonIndex(uint8_t sdlButton)
{
    switch (sdlButton) {
    case SDL_BUTTON_LEFT: return 0;
    case SDL_BUTTON_MIDDLE: return 1;
    case SDL_BUTTON_RIGHT: return 2;
    default: return -1;
    }
}

// Keys whose presses the game also reads as typed control characters; SDL's
// text input does not deliver them.
bool TypesControlCharacter(int32_t key)
{
    return key == qel::vk::kBack || key == qel::vk::kTab || key == qel::vk::kReturn ||
           key == qel::vk::kEscape;
}

// Decodes one UTF-8 sequence at text[i], advancing i; 0 for a malformed one,
// which is skipped a byte at a time. Never reads at or past size.
int32_t NextCodePoint(const unsigned char* text, size_t size, size_t& i)
{
    const unsigned char lead = text[i++];
    if (lead < 0x80)
        return lead;
    int extra = 0;
    int32_t value = 0;
    if ((lead & 0xE0) == 0xC0) {
        extra = 1;
        value = lead & 0x1F;
    } else if ((lead & 0xF0) == 0xE0) {
        extra = 2;
        value = lead & 0x0F;
    } else if ((lead & 0xF8) == 0xF0) {
        extra = 3;
        value = lead & 0x07;
    } else {
        return 0;
    }
    for (int k = 0; k < extra; ++k) {
        if (i >= size || (text[i] & 0xC0) != 0x80)
            return 0;
        value = (value << 6) | (text[i++] & 0x3F);
    }
    return value;
}

}  // namespace

QelSDLEventTranslator::QelSDLEventTranslator(QelSDLKeyboard& keyboard, QelSDLMouse& mouse,
                                             std::vector<std::string>& droppedFiles,
                                             std::function<void()> refreshJoysticks)
    : keyboard_(keyboard), mouse_(mouse), droppedFiles_(droppedFiles),
      refreshJoysticks_(std::move(refreshJoysticks))
{
}

void QelSDLEventTranslator::SetSizes(int32_t clientWidth, int32_t clientHeight, int32_t backWidth,
                                     int32_t backHeight)
{
    clientWidth_ = clientWidth > 0 ? clientWidth : 1;
    clientHeight_ = clientHeight > 0 ? clientHeight : 1;
    backWidth_ = backWidth;
    backHeight_ = backHeight;
}

bool QelSDLEventTranslator::Translate(const SDL_Event& event)
{
    switch (event.type) {
    case SDL_QUIT: return true;
    case SDL_KEYDOWN: KeyDown(event.key); break;
    case SDL_KEYUP: KeyUp(event.key); break;
    case SDL_TEXTINPUT: TextInput(event.text.text); break;
    case SDL_MOUSEMOTION: MouseMotion(event.motion); break;
    case SDL_MOUSEBUTTONDOWN: MouseButtonDown(event.button); break;
    case SDL_MOUSEBUTTONUP: MouseButtonUp(event.button); break;
    case SDL_MOUSEWHEEL: MouseWheel(event.wheel); break;
    case SDL_JOYDEVICEADDED:
    case SDL_JOYDEVICEREMOVED:
        if (refreshJoysticks_)
            refreshJoysticks_();
        break;
    case SDL_DROPBEGIN: dropTaken_ = false; break;
    case SDL_DROPCOMPLETE: dropTaken_ = false; break;
    case SDL_DROPFILE: DropFile(event.drop.file); break;
    case SDL_DROPTEXT: SDL_free(event.drop.file); break;
    default: break;
    }
    return false;
}

bool QelSDLEventTranslator::WaitsForNextFrame(const SDL_Event& event) const
{
    switch (event.type) {
    case SDL_MOUSEMOTION:
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP:
    case SDL_MOUSEWHEEL: return mouse_.HasUnreadEdge();
    case SDL_KEYDOWN: return keyboard_.HasUnreadPress();
    default: return false;
    }
}

// Repeats arrive as further key-downs and are queued like the first press.
void QelSDLEventTranslator::KeyDown(const SDL_KeyboardEvent& key)
{
    const int32_t vk = VirtualKeyFromScancode(key.keysym.scancode);
    if (vk == 0)
        return;
    keyboard_.OnKeyDown(vk);
    if (TypesControlCharacter(vk))
        keyboard_.OnChar(vk);
}

void QelSDLEventTranslator::KeyUp(const SDL_KeyboardEvent& key)
{
    const int32_t vk = VirtualKeyFromScancode(key.keysym.scancode);
    if (vk != 0)
        keyboard_.OnKeyUp(vk);
}

void QelSDLEventTranslator::TextInput(const char* utf8)
{
    const auto* text = reinterpret_cast<const unsigned char*>(utf8);
    size_t i = 0;
    while (i < SDL_TEXTINPUTEVENT_TEXT_SIZE && text[i] != 0) {
        const int32_t character = NextCodePoint(text, SDL_TEXTINPUTEVENT_TEXT_SIZE, i);
        if (character != 0)
            keyboard_.OnChar(character);
    }
}

void QelSDLEventTranslator::MouseMotion(const SDL_MouseMotionEvent& motion)
{
    const float x = static_cast<float>(motion.x) / static_cast<float>(clientWidth_) * static_cast<float>(backWidth_);
    const float y = static_cast<float>(motion.y) / static_cast<float>(clientHeight_) * static_cast<float>(backHeight_);
    mouse_.OnMove(static_cast<int32_t>(x), static_cast<int32_t>(y));
    mouse_.OnRelativeMove(motion.xrel, motion.yrel);
}

// The capture keeps a drag that leaves the window reporting to it.
void QelSDLEventTranslator::MouseButtonDown(const SDL_MouseButtonEvent& button)
{
    const int index = ButtonIndex(button.button);
    if (index < 0)
        return;
    mouse_.OnButtonDown(index, button.timestamp);
    SDL_CaptureMouse(SDL_TRUE);
}

void QelSDLEventTranslator::MouseButtonUp(const SDL_MouseButtonEvent& button)
{
    const int index = ButtonIndex(button.button);
    if (index < 0)
        return;
    mouse_.OnButtonUp(index, button.timestamp);
    SDL_CaptureMouse(SDL_FALSE);
}

void QelSDLEventTranslator::MouseWheel(const SDL_MouseWheelEvent& wheel)
{
    const int32_t notches = wheel.direction == SDL_MOUSEWHEEL_FLIPPED ? -wheel.y : wheel.y;
    mouse_.SetWheel(notches * kWheelDelta);
}

// Of several files dropped at once only the first is taken.
void QelSDLEventTranslator::DropFile(char* path)
{
    if (path != nullptr && path[0] != '\0' && !dropTaken_) {
        droppedFiles_.emplace_back(path);
        dropTaken_ = true;
    }
    SDL_free(path);
}
