#include "game/ui/ConsoleSettings.h"

#include "game/ui/MachineSettings.h"

#include <algorithm>
#include <cstdlib>

// A hand-edited value outside the modes would index past the helm's option list.
void ConsoleSettings::ReadHelmMode()
{
    helmMode = 0;
    const std::string stored = StoredSetting("helm_mode_value");
    if (!stored.empty())
        helmMode = std::clamp(std::atoi(stored.c_str()), 0, kHelmModeCount - 1);
}
