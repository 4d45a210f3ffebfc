// The nebula and gas-giant visualiser's place in the developer tools. The
// visualiser itself is not built yet: the scene says so and leads back.

#include "game/shell/UIContext.h"
#include "game/shell/scenes/SceneGlobals.h"
#include "game/shell/scenes/SceneUtilities.h"
#include "game/shell/scenes/Scenes.h"

namespace {

constexpr int32_t kExitId = 10;
constexpr int kTextLayer = 1000;
constexpr int kCentred = 2;
constexpr const char* kNotice = "Nebula Visualiser^^This tool is not available yet.^Exit (or Escape) returns to the developer tools.";

SceneFunction Draw()
{
    UIContext& ui = theUIContext;
    DrawMenuBackdrop();
    const int32_t width = ui.WindowWidth();
    const int32_t height = ui.WindowHeight();
    ui.DrawText(ui.GetFont("gui-2"), IntRect{0, height / 3, width, 2 * height / 3}, kNotice, ui.mainColour, kTextLayer,
                kCentred);
    SetDevToolButtonColumn();
    return DevToolExit(kExitId) ? SceneFunction(SceneDevToolsMode) : SceneFunction(SceneNebulaEditMode);
}

}  // namespace

SceneFunction SceneNebulaEditMode(SceneEvent event)
{
    if (event == SCENE_DRAW)
        return Draw();
    return SceneNebulaEditMode;
}
