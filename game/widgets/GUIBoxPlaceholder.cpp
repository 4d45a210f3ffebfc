#include "game/widgets/GUIBoxPlaceholder.h"

#include "game/ui/UIContext.h"
#include "game/widgets/WidgetPanel.h"

namespace {

// The frame at the panels' layer, the name above it.
constexpr int kFrameLayer = UIContext::kControlLayer;
constexpr int kTextLayer = kFrameLayer + 1;
constexpr const char* kNameFont = "gui-2";

}  // namespace

void DrawPlaceholderWidget(UIContext& ui, IntRect& rect, std::string widgetName, const RenderManager* view)
{
    const IntRect panel = DrawWidgetPanel(ui, rect, kFrameLayer, view);
    if (!panel.IsOpen())
        return;
    ui.DrawText(ui.GetFont(kNameFont), panel, widgetName, ui.mainColour, kTextLayer, 2);
}
