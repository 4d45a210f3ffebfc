#include "game/shell/ConsoleState.h"

std::string consoleName;
std::vector<std::string> consoleWidgetList;
std::string currentWidgetName;
