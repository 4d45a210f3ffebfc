#include "game/shell/scenes/ShellState.h"

#include "helper/QelAssert.h"

ShellState::ShellState()
    : machineNameField(kMachineNameFieldId, "gui-2", kMachineNameCapacity),
      connectAddressField(kAddressFieldId, "gui-2", kAddressCapacity)
{
}

ShellState& ShellState::Of(SceneState& scenes)
{
    ShellState* shell = dynamic_cast<ShellState*>(&scenes);
    QEL_ASSERT(shell != nullptr, "a scene of the shell runs only in a host given the shell's state");
    return *shell;
}
