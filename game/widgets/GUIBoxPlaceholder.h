#pragma once
// The widget of a console whose own drawing is not built yet: its box framed
// in the console's colours, with its name in the middle, so a crew sees the
// layout the mission asked for and which station does what.

#include "game/ui/IntRect.h"

#include <string>

class UIContext;

class RenderManager;

// The panel takes the panel colour of the render manager given.
void DrawPlaceholderWidget(UIContext& ui, IntRect& rect, std::string widgetName, const RenderManager* view);
