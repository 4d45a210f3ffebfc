// The flight overlay of the main screen's full 3D view: the compass heading
// over a scale of a mark every 10 degrees at the top, and the height over a
// ladder of a mark every 200 units at the right, both in the interface's
// main colour. The marks slide with the heading and the height so the scale
// moves under the fixed centre mark as the ship turns and climbs.

#include "game/render/manager/Render3D.h"

#include "engine/base/Qel2dBitmap.h"
#include "engine/base/QelGraphicsFactoryBase.h"
#include "game/shell/UIContext.h"
#include "game/world/SpaceObject.h"

#include "helper/GeneralUtils.h"

#include <glm/mat4x4.hpp>

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

}  // namespace

void Render3D::DrawHeadingOverlay(const SpaceObject& ship, const IntRect& rect)
{
    if (!main_target || !gGraphicsFactory)
        return;
    const float clear[4] = {0.0f, 0.0f, 0.0f, 0.0f};
    main_target->SetAsRenderTarget(true, true, clear);
    gGraphicsFactory->Flush2DAndClearDepth(main_target);
    const int32_t width = main_target->GetWidth();
    const int32_t height = main_target->GetHeight();
    const float w = static_cast<float>(width);
    const float h = static_cast<float>(height);
    QelBitmapFont* font = theUIContext.GetFont(kOverlayFont);
    const glm::vec4 colour = theUIContext.mainColour;

    const int32_t heading = HeadingDegrees(theCamera.matrix);
    theUIContext.DrawText(font,
                          IntRect{width / 2 - kTextReach, static_cast<int32_t>(kHeadingRow * h - kHeadingTextHalfHeight),
                                  width / 2 + kTextReach, static_cast<int32_t>(kHeadingRow * h + kHeadingTextHalfHeight)},
                          std::to_string(heading), colour, kHeadingTextLayer, 2);
    const int32_t centre = width / 2;
    const float markRow = kHeadingRow * h + kHeadingMarkDrop;
    const auto headingMark = [&](float x, float y) {
        theUIContext.FillRect(x - kHeadingMarkHalfWidth, y - kHeadingMarkHalfHeight, x + kHeadingMarkHalfWidth,
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
    theUIContext.DrawText(font,
                          IntRect{static_cast<int32_t>(kHeightTextLeft * w), height / 2 - kTextReach, width,
                                  height / 2 + kTextReach},
                          (shown > 0 ? "+" : "") + std::to_string(shown), colour, kMarkLayer, 2);
    const int32_t ladder = width / 6 * 5 - kLadderInset;
    const int32_t middle = height / 2;
    theUIContext.FillRect(static_cast<float>(ladder - kCentreRungHalfWidth),
                          static_cast<float>(middle - kRungHalfHeight),
                          static_cast<float>(ladder + kCentreRungHalfWidth),
                          static_cast<float>(middle + kRungHalfHeight), colour, kMarkLayer);
    const auto rung = [&](int32_t y) {
        theUIContext.FillRect(static_cast<float>(ladder - kRungLeft), static_cast<float>(y - kRungHalfHeight),
                              static_cast<float>(ladder - kRungRight), static_cast<float>(y + kRungHalfHeight),
                              colour, kMarkLayer);
    };
    const float climb = static_cast<float>(altitude % kUnitsPerRung) / kUnitsPerRung * kPixelsPerRung;
    const int32_t firstRung = static_cast<int32_t>(static_cast<float>(middle) - std::trunc(climb));
    for (int32_t y = firstRung; y > kScaleStart * h; y -= kPixelsPerRung)
        rung(y);
    for (int32_t y = firstRung + kPixelsPerRung; y < kScaleEnd * h; y += kPixelsPerRung)
        rung(y);

    gGraphicsFactory->Flush2D();
    main_target->SetAsRenderTarget(false, false, clear);
    gGraphicsFactory->Flush2DAndClearDepth(main_target);
    Composite(*main_target, rect, nullptr);
}
