// The flight overlay of the main screen's full 3D view: the compass heading
// over a scale of a mark every 10 degrees at the top, and the height over a
// ladder of a mark every 200 units at the right, both in the interface's
// main colour. The marks slide with the heading and the height so the scale
// moves under the fixed centre mark as the ship turns and climbs.
//
// The overlay is laid out on the main target's pixels and drawn straight
// into the screen rectangle through the crop the picture was copied with,
// so each mark lands where a copy of the target would put it, without
// clearing and copying the whole target once more.

#include "game/render/manager/Render3D.h"

#include "engine/base/Qel2dBitmap.h"
#include "engine/base/QelBitmapFont.h"
#include "engine/base/QelGraphicsFactoryBase.h"
#include "game/render/manager/RenderManager.h"
#include "game/ui/UIContext.h"
#include "game/world/SpaceObject.h"

#include "helper/GeneralUtils.h"

#include <glm/mat4x4.hpp>

#include <algorithm>
#include <cmath>
#include <numbers>
#include <string>

namespace {

constexpr const char* kOverlayFont = "gui-3";
constexpr int kHeadingTextLayer = 1100;
constexpr int kMarkLayer = 1000;
// Text boxes reach this far either side of the point they centre on.
constexpr int32_t kTextReach = 1000;

// The heading scale: its text and marks a tenth of the way down, 10 pixels
// a degree with a mark every 10 degrees, marks 4 × 14 pixels.
constexpr float kHeadingRow = 0.1f;
constexpr int32_t kHeadingTextHalfHeight = 50;
constexpr float kHeadingMarkDrop = 20.0f;
constexpr int32_t kPixelsPerDegree = 10;
constexpr int32_t kDegreesPerMark = 10;
constexpr int32_t kPixelsPerMark = kPixelsPerDegree * kDegreesPerMark;
constexpr float kHeadingMarkHalfWidth = 2.0f;
constexpr float kHeadingMarkHalfHeight = 7.0f;

// The height ladder: 80 pixels per 200 units with a mark every 200 units,
// marks 14 × 4 pixels; the height reads in tens.
constexpr float kHeightTextLeft = 0.66f;
constexpr int32_t kUnitsPerRung = 200;
constexpr int32_t kPixelsPerRung = 80;
constexpr int32_t kHeightStep = 10;
constexpr int32_t kLadderInset = 50;
constexpr int32_t kRungLeft = 22;
constexpr int32_t kRungRight = 8;
constexpr int32_t kCentreRungHalfWidth = 7;
constexpr int32_t kRungHalfHeight = 2;

// Both scales keep between 30 % and 70 % of the picture.
constexpr float kScaleStart = 0.3f;
constexpr float kScaleEnd = 0.7f;

// The compass heading the view looks along, whole degrees 0 to 359: 0 along
// +z, 90 along +x.
int32_t HeadingDegrees(const glm::mat4& view)
{
    const glm::vec3 back(-view[0][2], -view[1][2], -view[2][2]);
    const double angle = WrapAngle2Pi(std::atan2(back.x, back.z) - std::numbers::pi);
    return static_cast<int32_t>(angle / std::numbers::pi * 180.0);
}

// From the main target's pixels to the screen rectangle the picture was
// copied into, and only inside it: what the crop leaves out of the picture
// stays off the screen, so nothing lands on a neighbouring box. Marks are
// cut at the rectangle's edges; text keeps the font's own size and shows
// only where all of it fits.
struct TargetToScreen {
    UIContext& ui;
    IntRect crop;
    IntRect rect;

    float X(float x) const
    {
        return static_cast<float>(rect.left) + (x - static_cast<float>(crop.left)) *
                                                    static_cast<float>(rect.right - rect.left) /
                                                    static_cast<float>(crop.right - crop.left);
    }
    float Y(float y) const
    {
        return static_cast<float>(rect.top) + (y - static_cast<float>(crop.top)) *
                                                   static_cast<float>(rect.bottom - rect.top) /
                                                   static_cast<float>(crop.bottom - crop.top);
    }
    IntRect Box(const IntRect& box) const
    {
        return IntRect{static_cast<int32_t>(std::lround(X(static_cast<float>(box.left)))),
                       static_cast<int32_t>(std::lround(Y(static_cast<float>(box.top)))),
                       static_cast<int32_t>(std::lround(X(static_cast<float>(box.right)))),
                       static_cast<int32_t>(std::lround(Y(static_cast<float>(box.bottom))))};
    }
    void Fill(float left, float top, float right, float bottom, const glm::vec4& colour, int layer) const
    {
        const float l = std::max(X(left), static_cast<float>(rect.left));
        const float t = std::max(Y(top), static_cast<float>(rect.top));
        const float r = std::min(X(right), static_cast<float>(rect.right));
        const float b = std::min(Y(bottom), static_cast<float>(rect.bottom));
        if (l < r && t < b)
            ui.FillRect(l, t, r, b, colour, layer);
    }
    // Text centred in the box.
    void Text(QelBitmapFont* font, const IntRect& box, const std::string& text, const glm::vec4& colour,
              int layer) const
    {
        if (!font)
            return;
        const IntRect shown = Box(box);
        const int32_t centre = (shown.left + shown.right) / 2;
        const int32_t reach = (font->GetTextWidth(text) + 1) / 2;
        const int32_t middle = (shown.top + shown.bottom) / 2;
        if (centre - reach < rect.left || centre + reach > rect.right || middle < rect.top || middle > rect.bottom)
            return;
        ui.DrawText(font, shown, text, colour, layer, 2);
    }
};

}  // namespace

void Render3D::DrawHeadingOverlay(const SpaceObject& ship, const IntRect& rect)
{
    UIContext& ui = owner.UI();
    if (!main_target || !gGraphicsFactory || !rect.IsOpen())
        return;
    const TargetToScreen screen{ui, CropToRect(main_target->GetWidth(), main_target->GetHeight(), rect), rect};
    const int32_t width = main_target->GetWidth();
    const int32_t height = main_target->GetHeight();
    const float w = static_cast<float>(width);
    const float h = static_cast<float>(height);
    QelBitmapFont* font = ui.GetFont(kOverlayFont);
    const glm::vec4 colour = ui.mainColour;

    const int32_t heading = HeadingDegrees(camera.matrix);
    screen.Text(font,
                IntRect{width / 2 - kTextReach, static_cast<int32_t>(kHeadingRow * h - kHeadingTextHalfHeight),
                        width / 2 + kTextReach, static_cast<int32_t>(kHeadingRow * h + kHeadingTextHalfHeight)},
                std::to_string(heading), colour, kHeadingTextLayer);
    const int32_t centre = width / 2;
    const float markRow = kHeadingRow * h + kHeadingMarkDrop;
    const auto headingMark = [&](float x, float y) {
        screen.Fill(x - kHeadingMarkHalfWidth, y - kHeadingMarkHalfHeight, x + kHeadingMarkHalfWidth,
                    y + kHeadingMarkHalfHeight, colour, kMarkLayer);
    };
    headingMark(static_cast<float>(centre), markRow);
    const int32_t firstMark = centre - kPixelsPerDegree * (heading % kDegreesPerMark);
    for (int32_t x = firstMark; x > kScaleStart * w; x -= kPixelsPerMark)
        headingMark(static_cast<float>(x), markRow + 2.0f);
    for (int32_t x = firstMark + kPixelsPerMark; x < kScaleEnd * w; x += kPixelsPerMark)
        headingMark(static_cast<float>(x), markRow + 2.0f);

    const int32_t altitude = static_cast<int32_t>(ship.pos.y);
    const int32_t shown = altitude / kHeightStep * kHeightStep;
    screen.Text(font,
                IntRect{static_cast<int32_t>(kHeightTextLeft * w), height / 2 - kTextReach, width,
                        height / 2 + kTextReach},
                (shown > 0 ? "+" : "") + std::to_string(shown), colour, kMarkLayer);
    const int32_t ladder = width / 6 * 5 - kLadderInset;
    const int32_t middle = height / 2;
    screen.Fill(static_cast<float>(ladder - kCentreRungHalfWidth), static_cast<float>(middle - kRungHalfHeight),
                static_cast<float>(ladder + kCentreRungHalfWidth), static_cast<float>(middle + kRungHalfHeight), colour,
                kMarkLayer);
    const auto rung = [&](int32_t y) {
        screen.Fill(static_cast<float>(ladder - kRungLeft), static_cast<float>(y - kRungHalfHeight),
                    static_cast<float>(ladder - kRungRight), static_cast<float>(y + kRungHalfHeight), colour,
                    kMarkLayer);
    };
    const float climb = static_cast<float>(altitude % kUnitsPerRung) / kUnitsPerRung * kPixelsPerRung;
    const int32_t firstRung = static_cast<int32_t>(static_cast<float>(middle) - std::trunc(climb));
    for (int32_t y = firstRung; y > kScaleStart * h; y -= kPixelsPerRung)
        rung(y);
    for (int32_t y = firstRung + kPixelsPerRung; y < kScaleEnd * h; y += kPixelsPerRung)
        rung(y);

    gGraphicsFactory->Flush2D();
}
