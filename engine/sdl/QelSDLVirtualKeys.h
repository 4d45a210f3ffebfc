#pragma once
// SDL scancodes (physical key positions) to Windows virtual-key numbers.
// Left and right modifier keys map to the generic Shift, Control and Alt.

#include <SDL2/SDL_scancode.h>

#include <cstdint>

// 0 for a key that has no virtual-key number.
int32_t VirtualKeyFromScancode(SDL_Scancode scancode);
