#include "game/widgets/View3DWidgets.h"

#include "game/render/manager/RenderManager.h"

void View3DViewDraw(ConsoleState&, IntRect& rect, std::string)
{
    if (theRenderManager)
        theRenderManager->render3D.Draw(rect, true);
}

void View3DViewCameraDraw(ConsoleState&, IntRect& rect, std::string)
{
    if (theRenderManager)
        theRenderManager->render3D.Draw(rect, false);
}
