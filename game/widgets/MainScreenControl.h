#pragma once
// "main_screen_control": what the bridge's main screen shows, picked by image
// buttons and hot keys on another console. The 3D view from one of four
// angles in one of four camera modes, or the tactical, long-range or
// ship-data view. The choice goes to the server as "signal" 40, where the
// mission hears it ("main_screen_change") and passes it on to the main
// screens. A console whose name holds "weap" only asks; the others also take
// the choice into their own render manager at once.
//
// The console's mouseOverControl is set while the mouse is over one of these
// controls, so that the 2D radar does not start a selection under it.

#include "game/ui/IntRect.h"

#include <string>

class ConsoleState;
class RenderManager;

void ViewMainScreenControlDraw(ConsoleState& console, IntRect& rect, std::string widgetName);

// Sends the choice, which the render manager's main screen takes at once
// unless it draws for a weapons console; one with an empty part is no choice
// and is not sent.
void ViewMainScreenSend(RenderManager& renderer, const std::string& view, const std::string& angle,
                        const std::string& camMode);

// The box scale the buttons are drawn at: their layout is 700 pixels high
// and 1000 wide.
float MainScreenControlScale(const IntRect& rect);
