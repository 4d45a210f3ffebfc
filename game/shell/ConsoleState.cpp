#include "game/shell/ConsoleState.h"

#include "engine/base/QelVirtualKeys.h"
#include "game/shell/KeyVal.h"

std::string consoleName;
std::vector<std::string> consoleWidgetList;
std::string currentWidgetName;
std::string currentScienceScanType;
bool mouseOverControl = false;

bool IsWidgetEditKeyHeld()
{
    return isHotKeyHeld("GUI_WIDGET", "control", qel::vk::kSubtract,
                        "hold this key combo to activate the screen widget edit mode");
}
