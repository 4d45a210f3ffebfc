#pragma once
// The widget of a console whose own drawing is not built yet: its box framed
// in the console's colours, with its name in the middle, so a crew sees the
// layout the mission asked for and which station does what.

#include "game/ui/IntRect.h"

#include <string>

void DrawPlaceholderWidget(IntRect& rect, std::string widgetName);
