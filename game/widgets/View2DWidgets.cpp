#include "game/widgets/View2DWidgets.h"

#include "game/render/manager/RenderManager.h"

void View2DViewDraw(IntRect& rect, std::string)
{
    if (theRenderManager)
        theRenderManager->render2D.Draw(rect, Render2D::kNormalKind);
}
