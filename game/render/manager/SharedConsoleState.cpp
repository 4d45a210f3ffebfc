#include "game/render/manager/SharedConsoleState.h"

#include "engine/base/QelVirtualKeys.h"
#include "game/ui/KeyVal.h"

bool IsWidgetEditKeyHeld()
{
    return isHotKeyHeld("GUI_WIDGET", "control", qel::vk::kSubtract,
                        "hold this key combo to activate the screen widget edit mode");
}

SelectObjectSignal ConsoleSelection(const SharedConsoleState& console, uint64_t objectId, const glm::vec3& point,
                                    const std::string& selectionKey, const std::string& sourceTag)
{
    SelectObjectSignal selection;
    selection.objectId = objectId;
    selection.kind = console.consoleName;
    selection.value = console.currentWidgetName;
    selection.dataSetKey = selectionKey;
    selection.extra = sourceTag;
    selection.x = point.x;
    selection.y = point.y;
    selection.z = point.z;
    return selection;
}
