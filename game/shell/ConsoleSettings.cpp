#include "game/shell/ConsoleSettings.h"

#include "game/shell/MachineSettings.h"
#include "helper/GeneralUtils.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <string>

ConsoleSettings theConsoleSettings;

namespace {

// A stored "value + 1": below 1 (missing, zero or not a number) is full.
float ReadOffsetFraction(const char* name)
{
    const double stored = std::strtod(StoredSetting(name).c_str(), nullptr);
    if (!std::isfinite(stored) || stored < 1.0)
        return 1.0f;
    return static_cast<float>(std::min(stored - 1.0, 1.0));
}

}  // namespace

// A hand-edited value outside the modes would index past the helm's option list.
void ConsoleSettings::ReadHelmMode()
{
    helmMode = 0;
    const std::string stored = StoredSetting("helm_mode_value");
    if (!stored.empty())
        helmMode = std::clamp(std::atoi(stored.c_str()), 0, kHelmModeCount - 1);
}

void ConsoleSettings::ReadViewSettings()
{
    navRingBrightness = ReadOffsetFraction("r3D.navRingBrightness");
    panelOpacity = ReadOffsetFraction("panelOpacity");
    radarRelativePositions = StoredSetting("r2D.relativePositions") == "on";
    radarArcMode = std::clamp(LeadingInt(StoredSetting("r2D.showArcMode")), 0, kArcModeCount - 1);
    const int32_t threshold = std::clamp(LeadingInt(StoredSetting("r2D.dragThreshold")), 0, kMaxDragThreshold);
    radarDragThreshold = threshold > 0 ? static_cast<float>(threshold) : kDefaultDragThreshold;
}
