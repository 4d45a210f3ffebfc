#include "game/widgets/GUIBoxPlaceholder.h"

#include "game/shell/UIContext.h"

namespace {

// The frame at the panels' layer, the name above it.
constexpr int kFrameLayer = UIContext::kControlLayer;
constexpr int kTextLayer = kFrameLayer + 1;
constexpr int kPanelStyle = 1;
constexpr const char* kNameFont = "gui-2";

}  // namespace

void DrawPlaceholderWidget(IntRect& rect, std::string widgetName)
{
    if (!rect.IsOpen())
        return;
    UIContext& ui = theUIContext;
    uiFrame(kPanelStyle, static_cast<float>(rect.left), static_cast<float>(rect.top),
            static_cast<float>(rect.right), static_cast<float>(rect.bottom), ui.dimColour, kFrameLayer);
    ui.DrawText(ui.GetFont(kNameFont), rect, widgetName, ui.mainColour, kTextLayer, 2);
}
