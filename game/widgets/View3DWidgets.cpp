#include "game/widgets/View3DWidgets.h"

#include "game/render/manager/RenderManager.h"
#include "game/widgets/ConsoleState.h"

void View3DViewDraw(ConsoleState& console, IntRect& rect, std::string)
{
    if (console.renderer)
        console.renderer->render3D.Draw(rect, true);
}

void View3DViewCameraDraw(ConsoleState& console, IntRect& rect, std::string)
{
    if (console.renderer)
        console.renderer->render3D.Draw(rect, false);
}
