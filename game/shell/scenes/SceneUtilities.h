#pragma once
// Small layout helpers the scenes share.

#include "game/net/CorvaneClient.h"
#include "game/net/SignalMessage.h"

#include <cstdint>

// The current interface rectangle becomes the column 140 pixels wide centred
// on x, from top to bottom: (x - 70, top, x + 70, bottom).
void SetButtonColumn(int32_t x, int32_t top, int32_t bottom);

// The boxes of this machine's console in its widget list's order, then the
// edit mode that moves them; no widgets yet: nothing.
void DrawConsoleScreenBoxes();
