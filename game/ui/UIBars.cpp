// The bar family: coolant steps and percentage chevrons.

#include <algorithm>

#include "engine/base/Qel2dBitmap.h"
#include "game/ui/UIContext.h"
#include "game/ui/UIControlParts.h"
#include "game/ui/UIControls.h"

namespace {

constexpr int kCoolantSteps = 9;  // "none", then eight units
constexpr int kCoolantLayer = 1001;
constexpr int kFirstStepStyle = 18;  // a plain square
constexpr int kUnitStepStyle = 11;
constexpr int32_t kStepGap = 1;

constexpr int kChevronLayer = 1001;
constexpr float kChevronThreshold = 50.0f;  // percent below which no chevron shows

// The step's rectangle: along the longer side, from the bottom when upright.
IntRect StepRect(const IntRect& rect, bool upright, int step)
{
    const float length = static_cast<float>(upright ? rect.Height() : rect.Width()) / kCoolantSteps;
    const int32_t from = static_cast<int32_t>(length * static_cast<float>(step));
    const int32_t to = static_cast<int32_t>(length * static_cast<float>(step + 1));
    if (upright)
        return Inset(IntRect{rect.left, rect.bottom - to, rect.right, rect.bottom - from}, kStepGap);
    return Inset(IntRect{rect.left + from, rect.top, rect.left + to, rect.bottom}, kStepGap);
}

// The step under the mouse, or -1.
int StepUnderMouse(UIContext& ui, const IntRect& rect, bool upright)
{
    int32_t x = 0, y = 0;
    if (!ui.MouseInside(rect) || !ui.MousePosition(x, y))
        return -1;
    const float length = static_cast<float>(upright ? rect.Height() : rect.Width()) / kCoolantSteps;
    const float offset = static_cast<float>(upright ? rect.bottom - y : x - rect.left);
    return std::clamp(static_cast<int>(offset / length), 0, kCoolantSteps - 1);
}

// Each of r, g and b moved 0.2 away from its half.
glm::vec4 Contrasting(const glm::vec4& colour)
{
    glm::vec4 result = colour;
    for (int i = 0; i < 3; ++i)
        result[i] += colour[i] > 0.5f ? -0.2f : 0.2f;
    return result;
}

}  // namespace

bool uiCoolantButtons(UIContext& ui, int32_t id, int32_t& selected, const glm::vec4& setColour,
                      int32_t highestAvailable, const glm::vec4& availableColour, bool enabled)
{
    glm::vec4 hoverColour = ui.shades[2];
    ui.TakeNextColour(hoverColour);
    const IntRect rect = ui.CurrentRect();
    if (!rect.IsOpen())
        return false;
    const bool upright = rect.Height() > rect.Width();
    const int under = StepUnderMouse(ui, rect, upright);
    bool changed = false;
    if (ui.ClickRule(id, rect, enabled) && under >= 0 && under - 1 != selected) {
        selected = under - 1;
        changed = true;
    }

    for (int step = 0; step < kCoolantSteps; ++step) {
        glm::vec4 colour = ui.shades[2];
        if (step == under) {
            if (!enabled)
                colour = ui.shades[0];
            else if (ui.activeId == id)
                colour = ScaledRgb(setColour, 0.6f);
            else if (ui.hotId == id)
                colour = ui.shades[4];
            else
                colour = hoverColour;
        } else if (step - 1 <= selected) {
            colour = setColour;
        } else if (step - 1 <= highestAvailable) {
            colour = availableColour;
        }
        const IntRect box = StepRect(rect, upright, step);
        DrawFrame(ui, step == 0 ? kFirstStepStyle : kUnitStepStyle, box, colour, kCoolantLayer);
        if (step == 0 || step == under)
            DrawFrame(ui, kUnitStepStyle, Inset(box, std::min(box.Width(), box.Height()) / 4), ui.dimColour,
                      kCoolantLayer);
    }
    return changed;
}

void uiPercentChevrons(UIContext& ui, const IntRect& rect, float percent, const glm::vec4& colour)
{
    if (!(percent >= kChevronThreshold) || !rect.IsOpen())
        return;
    Qel2dBitmap* white = ui.White();
    if (white == nullptr)
        return;
    const bool upright = rect.Height() > rect.Width();
    const float longer = static_cast<float>(upright ? rect.Height() : rect.Width());
    const float across = static_cast<float>(upright ? rect.Width() : rect.Height());
    const float share = std::min(percent, 100.0f) / 100.0f;
    const float filled = longer * share;
    const float thickness = across / 3;
    const float slant = 1.0f + (share - 0.5f) * 2.0f * (thickness / 2);
    const glm::vec4 mark = Contrasting(colour);

    // A chevron pointing along the bar: its two halves lean towards its tip.
    for (const float along : {filled / 3, filled - filled / 3}) {
        if (upright) {
            const float base = static_cast<float>(rect.bottom) - along;
            const float l = static_cast<float>(rect.left), r = static_cast<float>(rect.right), m = (l + r) / 2;
            white->SetDestQuad(l, base - thickness, l, base, m, base - thickness - slant, m, base - slant);
            white->DrawQuad(&mark[0], kChevronLayer, false);
            white->SetDestQuad(m, base - thickness - slant, m, base - slant, r, base - thickness, r, base);
            white->DrawQuad(&mark[0], kChevronLayer, false);
        } else {
            const float base = static_cast<float>(rect.left) + along;
            const float t = static_cast<float>(rect.top), b = static_cast<float>(rect.bottom), m = (t + b) / 2;
            white->SetDestQuad(base, t, base + thickness, t, base + slant, m, base + thickness + slant, m);
            white->DrawQuad(&mark[0], kChevronLayer, false);
            white->SetDestQuad(base + slant, m, base + thickness + slant, m, base, b, base + thickness, b);
            white->DrawQuad(&mark[0], kChevronLayer, false);
        }
    }
}
