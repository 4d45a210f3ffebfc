#pragma once
// The keyboard as the game reads it. Keys are Windows virtual-key numbers
// 0..255 (see QelVirtualKeys.h), so stored hot keys keep their meaning.

#include <cstdint>

class QelKeyboard {
public:
    virtual ~QelKeyboard() = default;

    virtual bool IsKeyDown(int32_t key) = 0;
    // Pressed since the last input update; with sinceFrameEnd, also counts a
    // press that happened after the end of the previous frame.
    virtual bool IsKeyPressed(int32_t key, bool sinceFrameEnd = false) = 0;
    virtual bool IsKeyReleased(int32_t key, bool sinceFrameEnd = false) = 0;
    // Removes and returns the oldest typed character; false when none waits.
    virtual bool PopTypedChar(int32_t& character) = 0;
    // Removes and returns the oldest key-down (repeats included); false when none waits.
    virtual bool PopKeyDown(int32_t& key) = 0;
};
