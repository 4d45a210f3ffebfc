#pragma once
// The console widget that puts the render manager's 2D radar into a box:
// "2dview", the helm-style radar of every space object. It owns nothing: the
// radar draws and answers the pointer itself. The other radar widgets
// (science, weapons, comms) are the same call with their own console kind.

#include "game/shell/IntRect.h"

#include <string>

void View2DViewDraw(IntRect& rect, std::string widgetName);
