// The attitude display under every steering widget: a radar disc laid flat
// in perspective, with each object around the ship standing on a stalk above
// or below the disc, and the heading, altitude and elevation along the edges.

#include "engine/base/Qel2dBitmap.h"
#include "game/render/manager/RenderManager.h"
#include "game/ui/UIContext.h"
#include "game/widgets/HelmSteering.h"
#include "game/widgets/WidgetPanel.h"
#include "game/world/Simulation.h"
#include "game/world/SpaceObject.h"
#include "game/world/SuperContainer.h"

#include <glm/gtc/constants.hpp>
#include <glm/gtc/quaternion.hpp>

#include <cmath>
#include <string>

namespace {

constexpr int kLayer = 1000;
// The panel lies under everything the display draws.
constexpr int kPanelLayer = 999;
// A full circle of the rings in this many straight pieces.
constexpr int kRingSegments = 21;
// Objects this far away sit on the outer ring; farther ones stay on it,
// drawn with the icon of the second row.
constexpr float kDisplayRange = 5000.0f;
constexpr float kIconHalfSize = 5.6f;
// "iconset64": three kinds (other, friend, enemy) in the first row, the same
// kinds out of range in the second.
constexpr const char* kIconSet = "iconset64";
constexpr int kIconColumns = 3;
constexpr int kIconRows = 2;
constexpr int kOutOfRangeRow = 3;
// The read-outs keep this far inside the widget; the bottom one takes a
// strip this high.
constexpr int32_t kTextInset = 10;
constexpr int32_t kBottomStrip = 25;
// The elevation read-out scales atan of the climb by 90, not by 180 / pi.
constexpr float kElevationScale = 90.0f;
// The altitude shows in steps of ten.
constexpr int32_t kAltitudeStep = 10;

const glm::vec4 kOuterRing{1.0f, 0.0f, 0.0f, 0.7f};
const glm::vec4 kStalk{0.7f, 0.7f, 0.7f, 1.0f};
// Without a render manager to ask for an object's colour.
const glm::vec4 kPlainIcon{1.0f, 1.0f, 1.0f, 1.0f};

struct Disc {
    int32_t cx, cy;    // centre
    int32_t hw, hh;    // half width, half height
    float sy;          // vertical radius of the flattened rings
};

Disc DiscOf(const IntRect& rect)
{
    Disc disc{};
    disc.cx = (rect.left + rect.right) / 2;
    disc.cy = (rect.top + rect.bottom) / 2;
    disc.hw = disc.cx - rect.left;
    disc.hh = disc.cy - rect.top;
    disc.sy = static_cast<float>(disc.hh) / 2.0f;
    return disc;
}

void DrawRing(UIContext& ui, const Disc& disc, float radius, const glm::vec4& colour)
{
    auto point = [&](int i) {
        const float a = glm::two_pi<float>() * static_cast<float>(i) / kRingSegments;
        return glm::vec2(disc.cx + disc.hw * radius * std::sin(a), disc.cy + disc.sy * radius * std::cos(a));
    };
    glm::vec2 from = point(0);
    for (int i = 1; i <= kRingSegments; ++i) {
        const glm::vec2 to = point(i);
        ui.DrawLine(from.x, from.y, to.x, to.y, colour, kLayer);
        from = to;
    }
}

bool IsShipLike(const std::string& behaviour)
{
    return behaviour == "behav_npcship" || behaviour == "behav_station" || behaviour == "behav_playership";
}

// 0 other, 1 friend (allied or neutral to the ship's side), 2 enemy.
int KindOf(const SpaceObject& object, const SpaceObject& ship)
{
    if (!IsShipLike(object.tick_type))
        return 0;
    return IsObjectFriendlyToSide(object, ship.side) ? 1 : 2;
}

// The colour every console shows the object in, as the ship sees it.
glm::vec4 ColourOf(RenderManager* view, const SpaceObject& object, const SpaceObject& ship)
{
    return view ? view->GetObjectColor(object, ship) : kPlainIcon;
}

void DrawIcon(UIContext& ui, int kind, float x, float y, const glm::vec4& colour)
{
    Qel2dBitmap* sheet = ui.Bitmap(kIconSet);
    if (sheet == nullptr) {
        ui.FillRect(x - kIconHalfSize / 2, y - kIconHalfSize / 2, x + kIconHalfSize / 2, y + kIconHalfSize / 2,
                    colour);
        return;
    }
    const int cellWidth = sheet->GetWidth() / kIconColumns;
    const int cellHeight = sheet->GetHeight() / kIconRows;
    const float left = static_cast<float>(kind % kIconColumns * cellWidth);
    const float top = static_cast<float>(kind / kIconColumns * cellHeight);
    sheet->SetSourceRect(left, top, left + cellWidth, top + cellHeight);
    sheet->SetDestRect(x - kIconHalfSize, y - kIconHalfSize, x + kIconHalfSize, y + kIconHalfSize);
    sheet->SetDrawProcess(nullptr, true, false);
    sheet->DrawQuad(&colour[0], kLayer, false);
}

// Step 4: one object on its stalk.
void DrawContact(UIContext& ui, RenderManager* view, const Disc& disc, const SpaceObject& object,
                 const SpaceObject& ship)
{
    int kind = KindOf(object, ship);
    glm::vec3 d = glm::inverse(ship.rot_quat) * (object.pos - ship.pos) / kDisplayRange;
    const float length = glm::length(d);
    if (!std::isfinite(length))
        return;
    if (length > 1.0f) {
        d /= length;
        kind += kOutOfRangeRow;
    }
    const float x = disc.cx + disc.hw * d.x;
    const float discY = disc.cy - disc.sy * d.z;
    const float objectY = discY - disc.hh * d.y - 1.0f;
    ui.DrawLine(x, objectY, x, discY, kStalk, kLayer);
    DrawIcon(ui, kind, x, objectY, ColourOf(view, object, ship));
}

bool ShownOnDisc(const SpaceObject& object)
{
    return object.data_tag != "nebula" && object.tick_type != "behav_asteroid";
}

void DrawContacts(UIContext& ui, RenderManager* view, const Disc& disc, const SpaceObject& ship)
{
    SuperContainer* container = theSimulation ? theSimulation->Container() : nullptr;
    if (container == nullptr)
        return;
    for (SuperContainerObject* base : container->Objects()) {
        const auto* object = static_cast<const SpaceObject*>(base);
        if (object != nullptr && ShownOnDisc(*object))
            DrawContact(ui, view, disc, *object, ship);
    }
}

std::string Signed(int32_t value)
{
    return (value > 0 ? "+" : "") + std::to_string(value);
}

// 0 included, 360 not.
int32_t HeadingDegrees(const glm::vec3& forward)
{
    float degrees = glm::degrees(std::atan2(forward.x, forward.z));
    if (degrees < 0.0f)
        degrees += 360.0f;
    return static_cast<int32_t>(degrees) % 360;
}

int32_t AltitudeOf(const SpaceObject& ship)
{
    const float y = ship.pos.y;
    if (!std::isfinite(y) || std::fabs(y) > 2.0e9f)
        return 0;
    return static_cast<int32_t>(y) / kAltitudeStep * kAltitudeStep;
}

void DrawReadouts(UIContext& ui, const IntRect& rect, const SpaceObject& ship)
{
    const IntRect inner{rect.left + kTextInset, rect.top + kTextInset, rect.right - kTextInset,
                        rect.bottom - kTextInset};
    QelBitmapFont* font = ui.GetFont("gui-2A");
    const glm::vec3 forward = ship.rot_quat * glm::vec3(0.0f, 0.0f, 1.0f);
    ui.DrawText(font, inner, "ANG " + std::to_string(HeadingDegrees(forward)), ui.mainColour, kLayer, 0);
    ui.DrawText(font, inner, "ALT " + Signed(AltitudeOf(ship)), ui.mainColour, kLayer, 1);
    const float elevation = std::atan(forward.y) * kElevationScale;
    const IntRect bottom{inner.left, inner.bottom - kBottomStrip, inner.right, inner.bottom};
    ui.DrawText(font, bottom, "AZI " + Signed(static_cast<int32_t>(elevation)), ui.mainColour, kLayer, 0);
}

}  // namespace

void HelmHeadingDisplay(UIContext& ui, RenderManager* view, const SpaceObject* ship, const IntRect& rect)
{
    DrawWidgetPanel(ui, rect, kPanelLayer, view);
    const Disc disc = DiscOf(rect);
    DrawRing(ui, disc, 1.0f, kOuterRing);
    DrawRing(ui, disc, 0.6f, ui.mainColour);
    DrawRing(ui, disc, 0.2f, ui.mainColour);
    if (ship == nullptr)
        return;
    DrawContacts(ui, view, disc, *ship);
    DrawReadouts(ui, rect, *ship);
}
