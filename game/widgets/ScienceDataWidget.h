#pragma once
// "science_data": what the player's side knows of the science selection
// (name and hull, range, bearing and height, shields, a station's armour, a
// ship's system damage, the text of the chosen kind of scan) and the one
// button that starts a scan of the chosen kind or cancels the scans under
// way (hot keys "start_sci_scan" and "stop_sci_scan", Enter). Scans run on
// the server ("signal" 92); the widget reads the progress and the texts that
// replication brings.

#include "game/ui/IntRect.h"

#include <string>

class ConsoleState;

void ViewScienceDataDraw(ConsoleState& console, IntRect& rect, std::string widgetName);
