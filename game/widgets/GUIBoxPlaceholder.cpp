#include "game/widgets/GUIBoxPlaceholder.h"

#include "game/render/manager/RenderManager.h"
#include "game/shell/UIContext.h"

namespace {

// The frame at the panels' layer, the name above it.
constexpr int kFrameLayer = UIContext::kControlLayer;
constexpr int kTextLayer = kFrameLayer + 1;
constexpr int kPanelStyle = 1;
constexpr const char* kNameFont = "gui-2";
// Neighbouring boxes of the default grid touch; the gap keeps them apart.
constexpr int32_t kInset = 4;

}  // namespace

void DrawPlaceholderWidget(IntRect& rect, std::string widgetName)
{
    IntRect panel = rect;
    panel.Offset(kInset, kInset, -kInset, -kInset);
    if (!panel.IsOpen())
        return;
    UIContext& ui = theUIContext;
    const glm::vec4 frameColour = theRenderManager ? theRenderManager->PanelColour() : ui.dimColour;
    uiFrame(kPanelStyle, static_cast<float>(panel.left), static_cast<float>(panel.top),
            static_cast<float>(panel.right), static_cast<float>(panel.bottom), frameColour, kFrameLayer);
    ui.DrawText(ui.GetFont(kNameFont), panel, widgetName, ui.mainColour, kTextLayer, 2);
}
