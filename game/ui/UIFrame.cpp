// The panel every control draws behind itself: a rectangle whose bottom-right
// corner is cut at 45 degrees.

#include <algorithm>

#include "engine/base/Qel2dBitmap.h"
#include "game/ui/UIContext.h"
#include "game/ui/UIControlParts.h"

namespace {

constexpr int kFirstKnobStyle = 10;
constexpr int kLastKnobStyle = 18;  // chamfer 0: a plain rectangle
constexpr float kPanelChamfer = 10.0f;
constexpr const char* kGradientBitmap = "gradient1024";
// A panel samples this share of the gradient's width and height, whatever
// its size, so small and large panels shade alike (500 of its 1024 pixels).
constexpr float kGradientSpan = 500.0f / 1024.0f;
// Lines run through pixel centres, half a pixel inside the panel's edges.
constexpr float kHalfPixel = 0.5f;

// The outline runs along the top and the left edge, the bottom edge to
// splitX, the right edge to splitY, and the diagonal between those two points.
struct ChamferedPanel {
    float left, top, right, bottom;
    float splitX, splitY;

    ChamferedPanel(float l, float t, float r, float b, float chamfer)
        : left(l), top(t), right(r), bottom(b), splitX(std::max((l + r) / 2, r - chamfer)),
          splitY(std::max((t + b) / 2, b - chamfer))
    {
    }

    // The bitmap's source follows the position inside the panel.
    float U(float x, float span) const { return (x - left) / (right - left) * span; }
    float V(float y, float span) const { return (y - top) / (bottom - top) * span; }

    // The part above splitY over the full width, then the part below it with
    // its right side along the chamfer.
    void Fill(Qel2dBitmap& bitmap, float span, const glm::vec4& colour, int layer) const
    {
        bitmap.SetDestRect(left, top, right, splitY);
        bitmap.SetSourceQuad(U(left, span), V(top, span), U(right, span), V(top, span), U(left, span),
                             V(splitY, span), U(right, span), V(splitY, span));
        bitmap.DrawQuad(&colour[0], layer, false);
        if (splitY >= bottom)
            return;
        bitmap.SetDestQuad(left, splitY, right, splitY, left, bottom, splitX, bottom);
        bitmap.SetSourceQuad(U(left, span), V(splitY, span), U(right, span), V(splitY, span), U(left, span),
                             V(bottom, span), U(splitX, span), V(bottom, span));
        bitmap.DrawQuad(&colour[0], layer, false);
    }

    void Outline(UIContext& ui, const glm::vec4& colour, int layer) const
    {
        const float l = left + kHalfPixel, t = top + kHalfPixel;
        const float r = right - kHalfPixel, b = bottom - kHalfPixel;
        const float x = std::max(l, splitX - kHalfPixel), y = std::max(t, splitY - kHalfPixel);
        ui.DrawLine(l, t, r, t, colour, layer);
        ui.DrawLine(l, t, l, b, colour, layer);
        ui.DrawLine(l, b, x, b, colour, layer);
        ui.DrawLine(r, t, r, y, colour, layer);
        ui.DrawLine(x, b, r, y, colour, layer);
    }
};

}  // namespace

void uiFrame(UIContext& ui, int style, float left, float top, float right, float bottom, const glm::vec4& colour,
             int layer)
{
    if (!(left < right && top < bottom) || style > kLastKnobStyle)
        return;
    if (style >= kFirstKnobStyle) {
        const ChamferedPanel knob(left, top, right, bottom, static_cast<float>(kLastKnobStyle - style));
        if (Qel2dBitmap* white = ui.White())
            knob.Fill(*white, 1.0f, colour, layer);
        return;
    }
    // The fill stays inside the outline's pixels, so the outline shows
    // whichever of the two the batches happen to draw first.
    const ChamferedPanel panel(left, top, right, bottom, kPanelChamfer);
    const ChamferedPanel inside(left + 1, top + 1, right - 1, bottom - 1, kPanelChamfer);
    Qel2dBitmap* gradient = ui.Bitmap(kGradientBitmap);
    if (gradient != nullptr && inside.left < inside.right && inside.top < inside.bottom) {
        gradient->SetDrawProcess(nullptr, true, false);
        inside.Fill(*gradient, kGradientSpan, colour, layer);
    }
    panel.Outline(ui, ScaledRgb(colour, 2.0f), layer);
}
