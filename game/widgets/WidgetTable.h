#pragma once
// The widgets a console can show: the name a mission's widget list and the
// layout file use, the draw function, and the documentation line that
// data/GUIWidgetList.txt shows beside the name. GUIBoxManager registers every
// row before its first use.

#include "game/widgets/GUIBoxManager.h"

#include <span>

struct ConsoleWidgetRow {
    const char* name;
    WidgetDrawFn draw;
    const char* documentation;
};

std::span<const ConsoleWidgetRow> ConsoleWidgetTable();
