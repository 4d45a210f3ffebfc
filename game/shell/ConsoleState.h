#pragma once
// Which console this machine shows: its name (empty until the server names
// it; the server's own screen takes it from the mission) and its widgets in
// drawing order, and the widget whose box is being drawn. The console boxes
// draw by them, the render manager chooses by the name what the screen
// hears, and widgets that must know their box read the widget name.
// Main thread only.

#include <string>
#include <vector>

extern std::string consoleName;
extern std::vector<std::string> consoleWidgetList;
extern std::string currentWidgetName;
