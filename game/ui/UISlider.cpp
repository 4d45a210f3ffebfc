// The slider: a value bar with a knob that follows the mouse while pressed,
// and the editor row built on it.

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "engine/base/QelBitmapFont.h"
#include "game/ui/UIContext.h"
#include "game/ui/UIControlParts.h"
#include "game/ui/UIControls.h"

namespace {

constexpr const char* kDisplayOnlyMode = "justbar";
constexpr const char* kKnobFont = "gui-1";
// Knob text must fit the knob less this margin, on one line, or it is not drawn.
constexpr int32_t kKnobTextMargin = 5;
// Ranges narrower than this show two decimals in "float" mode, wider ones one.
constexpr float kFineRange = 2.0f;

constexpr int kRowLayer = 1000;
const glm::vec4 kRowCaptionColour{1.0f, 0.7f, 1.0f, 1.0f};

// Where the value lies in its range, 0..1 (0 for an empty range or a value that is not a number).
float RangeFraction(float minimum, float maximum, float value)
{
    const float fraction = (value - minimum) / (maximum - minimum);
    return fraction > 0 ? std::min(fraction, 1.0f) : 0.0f;
}

void FollowMouse(UIContext& ui, const IntRect& rect, bool upright, float minimum, float maximum, float& value)
{
    int32_t x = 0, y = 0;
    if (!ui.MousePosition(x, y))
        return;
    float fraction = upright ? 1.0f - static_cast<float>(y - rect.top) / static_cast<float>(rect.Height())
                             : static_cast<float>(x - rect.left) / static_cast<float>(rect.Width());
    fraction = std::clamp(fraction, 0.0f, 1.0f);
    value = std::clamp(minimum + fraction * (maximum - minimum), std::min(minimum, maximum),
                       std::max(minimum, maximum));
}

std::string KnobText(const std::string& mode, float minimum, float maximum, float value)
{
    char text[64];
    if (mode == "float")
        std::snprintf(text, sizeof text, maximum - minimum < kFineRange ? "%.2f" : "%.1f", value);
    else if (mode == "int")
        std::snprintf(text, sizeof text, "%.0f", value);
    else
        return mode;
    return text;
}

// The knob: a quarter of the longer side either way of the value's place
// (at most the shorter side), across the track less a pixel each side.
IntRect KnobRect(const IntRect& rect, bool upright, float fraction)
{
    const float longer = static_cast<float>(std::max(rect.Width(), rect.Height()));
    const float shorter = static_cast<float>(std::min(rect.Width(), rect.Height()));
    const float half = std::min(longer / 4, shorter);
    const float along = half + fraction * (longer - 2 * half);
    if (upright) {
        const float centre = static_cast<float>(rect.bottom) - along;
        return {rect.left + 1, static_cast<int32_t>(centre - half), rect.right - 1,
                static_cast<int32_t>(centre + half)};
    }
    const float centre = static_cast<float>(rect.left) + along;
    return {static_cast<int32_t>(centre - half), rect.top + 1, static_cast<int32_t>(centre + half), rect.bottom - 1};
}

void DrawKnobText(UIContext& ui, const IntRect& knob, const std::string& text, int layer)
{
    QelBitmapFont* font = ui.GetFont(kKnobFont);
    if (font == nullptr || text.empty() || font->GetTextWidth(text) > knob.Width() - kKnobTextMargin)
        return;
    ui.DrawText(font, knob, text, ui.knobTextColour, layer, 2);
}

}  // namespace

bool uiSlider(UIContext& ui, int32_t id, float minimum, float maximum, float& value, int layer, const std::string& mode)
{
    ui.nextControlColour.clear();
    const IntRect rect = ui.CurrentRect();
    if (!rect.IsOpen())
        return false;
    const bool upright = rect.Width() < rect.Height();
    const bool displayOnly = mode == kDisplayOnlyMode;

    bool dragEnded = false;
    if (!displayOnly) {
        ui.Interact(id, ui.MouseInside(rect), true);
        if (ui.previousActiveId == id) {
            if (ui.LeftReleased()) {
                ui.activeId = 0;
                dragEnded = true;
            } else if (ui.LeftDown()) {
                FollowMouse(ui, rect, upright, minimum, maximum, value);
            }
        }
    }

    DrawFrame(ui, 1, rect, ui.dimColour, layer);
    const IntRect knob = KnobRect(rect, upright, RangeFraction(minimum, maximum, value));
    DrawFrame(ui, 10, knob, ui.knobColour, layer + 1);
    if (!displayOnly)
        DrawKnobText(ui, knob, KnobText(mode, minimum, maximum, value), layer + 2);
    return dragEnded;
}

bool uiSliderRow(UIContext& ui, std::string& caption, float minimum, float maximum, float& value)
{
    ui.PushRect();
    const IntRect box = Inset(ui.CurrentRect(), 3);
    QelBitmapFont* font = ui.GetFont(kKnobFont);
    ui.DrawText(font, box, caption, kRowCaptionColour, kRowLayer + 2);
    const bool dragEnded = uiSlider(ui, ui.sliderRowId++, minimum, maximum, value, kRowLayer, "");
    char text[64];
    std::snprintf(text, sizeof text, "%.2f", value);
    caption = text;
    ui.DrawText(font, box, caption, kRowCaptionColour, kRowLayer + 2, 1);
    ui.PopRect();
    ui.ShiftRectY(1, 0);
    return dragEnded;
}
