#include "game/widgets/View2DWidgets.h"

#include "game/render/manager/RenderManager.h"
#include "game/widgets/ConsoleState.h"
#include "game/widgets/ConsoleWidgetSupport.h"

namespace {

void DrawRadar(const ConsoleState& console, IntRect& rect, const char* kind)
{
    if (console.renderer)
        console.renderer->render2D.Draw(rect, kind);
}

}  // namespace

void View2DViewDraw(ConsoleState& console, IntRect& rect, std::string)
{
    DrawRadar(console, rect, Render2D::kNormalKind);
}

void ViewScience2DViewDraw(ConsoleState& console, IntRect& rect, std::string)
{
    DrawRadar(console, rect, Render2D::kScienceKind);
}

void ViewComms2DViewDraw(ConsoleState& console, IntRect& rect, std::string)
{
    DrawRadar(console, rect, Render2D::kCommsKind);
}

void ViewWeapon2DViewDraw(ConsoleState& console, IntRect& rect, std::string)
{
    if (ConsolePlayerShip())
        DrawRadar(console, rect, Render2D::kWeaponsKind);
}
