#include "tools/halvex-server/HarnessServerScreen.h"

void HarnessServerScreen::SetConsole(const std::string& name, const std::vector<std::string>& /*widgets*/)
{
    consoleName = name;
}

void HarnessServerScreen::Tick(const Simulation* world)
{
    emitters.Tick(world, {});
}
