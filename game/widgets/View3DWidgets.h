#pragma once
// The console widgets that put the render manager's 3D view of space into a
// box: "3dview", the main screen's complete view, and "3dview_camera", the
// manual beam view without nebula volumes or the heading overlay. They own
// nothing: the view draws and handles everything itself.

#include "game/ui/IntRect.h"

#include <string>

class ConsoleState;

void View3DViewDraw(ConsoleState& console, IntRect& rect, std::string widgetName);
void View3DViewCameraDraw(ConsoleState& console, IntRect& rect, std::string widgetName);
