#include "game/widgets/ConsoleState.h"

ConsoleState* ConsoleState::Of(SharedConsoleState& shared)
{
    return dynamic_cast<ConsoleState*>(&shared);
}

void ConsoleState::StartNewWorld()
{
    static_cast<ConsoleWidgetStates&>(*this) = ConsoleWidgetStates{};
    currentScienceScanType.clear();
    mouseOverControl = false;
}
