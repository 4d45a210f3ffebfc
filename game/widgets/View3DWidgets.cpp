#include "game/widgets/View3DWidgets.h"

#include "game/render/manager/RenderManager.h"

void View3DViewDraw(IntRect& rect, std::string)
{
    if (theRenderManager)
        theRenderManager->render3D.Draw(rect, true);
}

void View3DViewCameraDraw(IntRect& rect, std::string)
{
    if (theRenderManager)
        theRenderManager->render3D.Draw(rect, false);
}
