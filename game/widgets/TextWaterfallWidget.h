#pragma once
// "text_waterfall": the mission's terse messages to the crew (the console's
// message log), newest at the bottom, older ones rising until they leave the
// box. It only reads.

#include "game/ui/IntRect.h"

#include <string>

class ConsoleState;

void ViewTextWaterfallDraw(ConsoleState& console, IntRect& rect, std::string widgetName);
