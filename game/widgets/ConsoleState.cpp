#include "game/widgets/ConsoleState.h"

void ConsoleState::StartNewWorld()
{
    static_cast<ConsoleWidgetStates&>(*this) = ConsoleWidgetStates{};
    currentScienceScanType.clear();
    mouseOverControl = false;
}
