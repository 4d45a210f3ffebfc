#pragma once
// The helm's jump drive. "helm_jump" takes a heading and a distance (by
// slider or typed), shows what the jump will cost, asks for confirmation and
// sends the request; while the server counts down it shows the seconds left.
// "quick_jump" sends an instant hop forward or backward and shows how far the
// hop drive has recharged. The entry's state is the render manager's
// jumpEffect, which also holds the dissolve the jump itself starts:
//
//   entry (0) --JUMP--> confirm (1) --Confirm, "signal" 85--> sent (3)
//     --the server's jump starts the dissolve--> dissolve (4) --> entry
//
// Cancel leads from confirm back to entry. A request the server neither
// counts down nor carries out (it refused the jump) returns to the entry
// after kJumpAnswerMilliseconds; so does a new world.

#include "game/ui/IntRect.h"

#include <cstdint>
#include <string>
#include <vector>

class ConsoleState;
class RenderManager;

// A request unanswered this long, counted from its sending or from the last
// countdown, was refused: the server counts down once a second.
inline constexpr uint32_t kJumpAnswerMilliseconds = 5000;

void ViewHelmJumpDraw(ConsoleState& console, IntRect& rect, std::string widgetName);
void ViewQuickJumpDraw(ConsoleState& console, IntRect& rect, std::string widgetName);

// Replaces the first rectangle of the list with a grid of rows by columns, in
// row order. The first column of each row takes firstColumnPercent of the
// width and the others share the rest; a remainder below the last row stays
// unused.
void SplitRectGrid(std::vector<IntRect>& rects, int32_t columns, int32_t rows, float firstColumnPercent);

// The seconds to the jump, as the server counts them down (main screens also
// raise the jump's hum).
void SetJumpTime(RenderManager& view, int32_t seconds);
// The jump arrived: the screen dissolves for the seconds.
void StartJumpEffect(RenderManager& view, uint64_t seconds);
// A new world: the entry starts again, with no countdown or dissolve left.
void ResetJumpControls(RenderManager& view);
