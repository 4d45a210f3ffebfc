#include "game/widgets/WidgetPanel.h"

#include "game/render/manager/RenderManager.h"
#include "game/ui/UIContext.h"

namespace {

constexpr int kPanelStyle = 1;
// Neighbouring boxes of the default grid touch; the gap keeps them apart.
constexpr int32_t kInset = 4;

}  // namespace

IntRect DrawWidgetPanel(UIContext& ui, const IntRect& box, int layer, const RenderManager* view)
{
    IntRect panel = box;
    panel.Offset(kInset, kInset, -kInset, -kInset);
    if (!panel.IsOpen())
        return panel;
    // The play options may make the panels more transparent.
    const glm::vec4 colour = view ? view->PanelColour() : ui.dimColour;
    uiFrame(ui, kPanelStyle, static_cast<float>(panel.left), static_cast<float>(panel.top),
            static_cast<float>(panel.right), static_cast<float>(panel.bottom), colour, layer);
    return panel;
}
