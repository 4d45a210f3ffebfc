#include "game/shell/ConsoleSettings.h"

#include "engine/base/QelInputFactoryBase.h"

#include <algorithm>
#include <cstdlib>

ConsoleSettings theConsoleSettings;

// A hand-edited value outside the modes would index past the helm's option list.
void ConsoleSettings::ReadHelmMode()
{
    helmMode = 0;
    std::string stored;
    if (gInputFactory && gInputFactory->GetRegistryValue("helm_mode_value", stored) && !stored.empty())
        helmMode = std::clamp(std::atoi(stored.c_str()), 0, kHelmModeCount - 1);
}
