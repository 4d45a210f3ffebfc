#include "game/ui/UIControlParts.h"

#include "game/ui/UIContext.h"
#include "game/ui/UIControls.h"

namespace {
// Text sits this far inside its control's edges.
constexpr int32_t kTextInset = 3;
// The indicator half of a state button sits this far inside it.
constexpr int32_t kIndicatorInset = 2;
}  // namespace

bool StartButton(UIContext& ui, int32_t id, bool enabled, ButtonStart& start)
{
    start.labelColour = ui.LabelColour(enabled);
    start.rect = ui.CurrentRect();
    if (!start.rect.IsOpen())
        return false;
    start.clicked = ui.ClickRule(id, start.rect, enabled);
    start.panelColour = ui.PanelColour(id);
    return true;
}

void DrawFrame(UIContext& ui, int style, const IntRect& rect, const glm::vec4& colour, int layer)
{
    uiFrame(ui, style, static_cast<float>(rect.left), static_cast<float>(rect.top), static_cast<float>(rect.right),
            static_cast<float>(rect.bottom), colour, layer);
}

IntRect Inset(const IntRect& rect, int32_t pixels)
{
    return {rect.left + pixels, rect.top + pixels, rect.right - pixels, rect.bottom - pixels};
}

glm::vec4 ScaledRgb(const glm::vec4& colour, float factor)
{
    return {colour.r * factor, colour.g * factor, colour.b * factor, colour.a};
}

glm::vec4 UnlitColour(const glm::vec4& panelColour)
{
    return {panelColour.r * 0.3f, panelColour.g * 0.3f, panelColour.b * 0.3f, 1.0f};
}

void DrawButtonFace(UIContext& ui, const IntRect& rect, const glm::vec4& panelColour, const IntRect& textBox,
                    const std::string& label, const std::string& fontTag, const glm::vec4& labelColour, int layer)
{
    DrawFrame(ui, 0, rect, panelColour, layer);
    ui.DrawText(ui.GetFont(fontTag), uiButtonTextBox(textBox), label, labelColour, layer + 1);
}

IntRect uiButtonTextBox(const IntRect& rect)
{
    return Inset(rect, kTextInset);
}

IntRect DrawStateIndicator(UIContext& ui, const IntRect& rect, int state, const glm::vec4& panelColour,
                           const glm::vec4& litColour, int layer)
{
    if (state != 1 && state != 2)
        return rect;
    const int32_t middle = rect.left + rect.Width() / 2;
    const IntRect indicator = Inset(IntRect{rect.left, rect.top, middle, rect.bottom}, kIndicatorInset);
    DrawFrame(ui, 0, indicator, state == 2 ? litColour : UnlitColour(panelColour), layer);
    return IntRect{middle, rect.top, rect.right, rect.bottom};
}
