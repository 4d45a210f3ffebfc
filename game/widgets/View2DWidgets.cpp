#include "game/widgets/View2DWidgets.h"

#include "game/render/manager/RenderManager.h"
#include "game/widgets/ConsoleWidgetSupport.h"

namespace {

void DrawRadar(IntRect& rect, const char* kind)
{
    if (theRenderManager)
        theRenderManager->render2D.Draw(rect, kind);
}

}  // namespace

void View2DViewDraw(ConsoleState&, IntRect& rect, std::string)
{
    DrawRadar(rect, Render2D::kNormalKind);
}

void ViewScience2DViewDraw(ConsoleState&, IntRect& rect, std::string)
{
    DrawRadar(rect, Render2D::kScienceKind);
}

void ViewComms2DViewDraw(ConsoleState&, IntRect& rect, std::string)
{
    DrawRadar(rect, Render2D::kCommsKind);
}

void ViewWeapon2DViewDraw(ConsoleState&, IntRect& rect, std::string)
{
    if (ConsolePlayerShip())
        DrawRadar(rect, Render2D::kWeaponsKind);
}
