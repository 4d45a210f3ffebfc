#pragma once
// The draw function of every widget a console can show, by the widget's name
// in the console catalogue (game/net/ConsoleCatalogue.h), which also holds the
// documentation line data/GUIWidgetList.txt shows beside the name.
// GUIBoxManager registers every row before its first use.

#include "game/widgets/GUIBoxManager.h"

#include <span>

struct ConsoleWidgetDraw {
    const char* name;
    WidgetDrawFn draw;
};

std::span<const ConsoleWidgetDraw> ConsoleWidgetDraws();
