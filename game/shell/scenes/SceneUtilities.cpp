#include "game/shell/scenes/SceneUtilities.h"

#include "game/shell/ConsoleState.h"
#include "game/shell/UIContext.h"
#include "game/widgets/GUIBoxManager.h"

namespace {

constexpr int32_t kButtonColumnHalfWidth = 70;

}  // namespace

void SetButtonColumn(int32_t x, int32_t top, int32_t bottom)
{
    theUIContext.SetCurrentRectEdges(x - kButtonColumnHalfWidth, top, x + kButtonColumnHalfWidth, bottom);
}

void DrawConsoleScreenBoxes()
{
    GUIBoxManager::DrawConsoleBoxes(consoleName, consoleWidgetList);
    GUIBoxManager::EditMode(theBoxEditState, consoleName);
}
