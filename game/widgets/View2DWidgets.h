#pragma once
// The console widgets that put the render manager's 2D radar into a box:
// "2dview", the helm-style radar of every space object, and the science,
// weapons and comms radars, the same view drawn with their console kind. They
// own nothing: the radar draws and answers the pointer itself.

#include "game/ui/IntRect.h"

#include <string>

class ConsoleState;

void View2DViewDraw(ConsoleState& console, IntRect& rect, std::string widgetName);
void ViewScience2DViewDraw(ConsoleState& console, IntRect& rect, std::string widgetName);
void ViewComms2DViewDraw(ConsoleState& console, IntRect& rect, std::string widgetName);
// Without a player ship the weapons radar draws nothing.
void ViewWeapon2DViewDraw(ConsoleState& console, IntRect& rect, std::string widgetName);
