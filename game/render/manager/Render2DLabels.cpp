// The radar's texts beside what it shows: the nav points' texts, and each
// contact's name above it and its range and bearing below. The object pass
// reserves every icon and queues the texts; the label pass then places them,
// the nav points' first and the contacts' nearest the focus ship first, each
// clear of every icon and every text placed before it. A text with no free
// place is left out: in a crowd the nearer contacts keep their names.

#include "game/render/manager/Render2D.h"

#include "engine/base/Qel2dBitmap.h"
#include "engine/base/QelBitmapFont.h"
#include "game/render/ObjectTypeDrawData.h"
#include "game/render/manager/RenderManager.h"
#include "game/ui/UIContext.h"
#include "game/world/SpaceObject.h"

#include <glm/geometric.hpp>

#include <algorithm>
#include <array>
#include <cmath>
#include <numbers>

namespace {

constexpr float kPi = std::numbers::pi_v<float>;
constexpr const char* kLabelFont = "gui-1";
constexpr int kAlignLeft = 0, kAlignRight = 1, kAlignCentre = 2;

// Labels sit this far above their object and climb this far past a label
// or icon they would cover.
constexpr int32_t kLabelRise = 25;
constexpr int32_t kLabelHalfHeight = 10;
constexpr int32_t kLabelStep = 22;
constexpr float kLabelPadding = 30.0f;
// A label stops climbing after this many moves: by then it stands far above
// its object anyway, and a crowd of ships in one place (a fleet at a dock)
// would otherwise cost a scan of every label per move, cubic in the crowd.
constexpr int32_t kMaxLabelMoves = 16;
// A read-out that would cover another text or an icon steps down a line at
// a time, a few lines at most, to stay near its contact.
constexpr int32_t kReadoutStep = 18;
constexpr int32_t kMaxReadoutMoves = 3;
// Distances switch to thousands above this.
constexpr float kRangeThousandsAbove = 2999.0f;

// Degrees 0..359 of a bearing brought into one turn.
int32_t BearingDegrees(float bearing)
{
    if (bearing < 0.0f)
        bearing += 2.0f * kPi;
    if (bearing >= 2.0f * kPi)
        bearing -= 2.0f * kPi;
    return static_cast<int32_t>(bearing * 180.0f / kPi);
}

}  // namespace

IntRect Render2D::Box(float x, float y, float left, float top, float right, float bottom)
{
    return {static_cast<int32_t>(x + left), static_cast<int32_t>(y + top), static_cast<int32_t>(x + right),
            static_cast<int32_t>(y + bottom)};
}

// --- Icons -----------------------------------------------------------------

// The corners turned as GLQel2DBitmap::DrawRotated turns them, and the box
// that holds them.
void Render2D::ReserveIcon(const glm::vec2& screen, const glm::vec2& low, const glm::vec2& high, float angle)
{
    const float c = std::cos(angle), s = std::sin(angle);
    glm::vec2 least(screen), most(screen);
    for (const glm::vec2 corner : {low, high, glm::vec2(low.x, high.y), glm::vec2(high.x, low.y)}) {
        const glm::vec2 at(screen.x + corner.x * c + corner.y * s, screen.y + corner.y * c - corner.x * s);
        least = glm::min(least, at);
        most = glm::max(most, at);
    }
    labels.Reserve(IntRect{static_cast<int32_t>(std::floor(least.x)), static_cast<int32_t>(std::floor(least.y)),
                           static_cast<int32_t>(std::ceil(most.x)), static_cast<int32_t>(std::ceil(most.y))});
}

void Render2D::ReserveSprite(const std::string& bitmap, const glm::vec2& screen, float angle, float scale)
{
    UIContext& ui = owner.UI();
    Qel2dBitmap* art = ui.Bitmap(bitmap);
    if (!art)
        return;
    const SpriteInk& ink = InkOf(bitmap, *art);
    ReserveIcon(screen, ink.low * scale, ink.high * scale, angle);
}

const Render2D::SpriteInk& Render2D::InkOf(const std::string& name, Qel2dBitmap& art)
{
    const auto found = spriteInks.find(name);
    if (found != spriteInks.end())
        return found->second;
    const int width = art.GetWidth(), height = art.GetHeight();
    int left = width, top = height, right = 0, bottom = 0;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            float alpha = 0.0f, red = 0.0f, green = 0.0f, blue = 0.0f;
            art.GetPixel(x, y, alpha, red, green, blue);
            if (alpha <= 0.0f)
                continue;
            left = std::min(left, x);
            top = std::min(top, y);
            right = std::max(right, x + 1);
            bottom = std::max(bottom, y + 1);
        }
    SpriteInk ink;
    if (left < right) {
        const glm::vec2 middle(static_cast<float>(width) * 0.5f, static_cast<float>(height) * 0.5f);
        ink.low = glm::vec2(static_cast<float>(left), static_cast<float>(top)) - middle;
        ink.high = glm::vec2(static_cast<float>(right), static_cast<float>(bottom)) - middle;
    }
    return spriteInks.emplace(name, ink).first->second;
}

// Only the hull's opaque box: the silhouette's art is mostly clear.
void Render2D::ReserveSilhouette(const ObjectTypeDrawData& drawData, const glm::vec2& screen, float angle,
                                 float scale)
{
    const glm::vec2 middle(static_cast<float>(ObjectTypeDrawData::kSilhouettePixels) * 0.5f);
    const glm::vec2 low = glm::vec2(static_cast<float>(drawData.silhouetteLeft),
                                    static_cast<float>(drawData.silhouetteTop)) - middle;
    const glm::vec2 high = glm::vec2(static_cast<float>(drawData.silhouetteRight),
                                     static_cast<float>(drawData.silhouetteBottom)) - middle;
    ReserveIcon(screen, low * scale, high * scale, angle);
}

// --- The label pass --------------------------------------------------------

void Render2D::QueueNavLabel(const IntRect& box, const std::string& text, const glm::vec4& colour)
{
    navLabels.push_back({box, text, colour});
}

// The name and, but on the comms radar, range and bearing, once every icon
// of the frame is known.
void Render2D::LabelContact(const SpaceObject& object, const glm::vec2& screen, const std::string& label,
                            const glm::vec4& colour)
{
    const float distance = frame.focus ? glm::distance(object.pos, frame.focus->pos) : 0.0f;
    contactLabels.push_back({distance, screen, object.pos, label, colour});
}

void Render2D::PlaceLabels()
{
    for (const NavLabel& label : navLabels)
        PlaceReadout(label.box, label.text, label.colour, kAlignCentre);
    navLabels.clear();
    const size_t count = std::min(contactLabels.size(), kMaxLabelledContacts);
    const auto nearer = [](const ContactLabel& a, const ContactLabel& b) { return a.distance < b.distance; };
    std::partial_sort(contactLabels.begin(), contactLabels.begin() + static_cast<std::ptrdiff_t>(count),
                      contactLabels.end(), nearer);
    for (size_t i = 0; i < count && frame.focus; ++i) {
        const ContactLabel& contact = contactLabels[i];
        DrawLabel(contact.name, contact.screen, contact.colour);
        if (frame.kind != kCommsKind)
            DrawRangeBearing(contact.screen, contact.world, *frame.focus, contact.colour);
    }
    contactLabels.clear();
}

// Centred 25 pixels above the point; a label that would cover one placed
// earlier, or any other text or icon, climbs above it, and the search starts
// over (kMaxLabelMoves times at most). Every label is placed; those that
// found no free place, or climbed off the radar's target, are not drawn: in
// a crowd most of the climbing names would cover others or leave the
// screen, and their text would cost the frame for nothing. The read-outs
// placed after the names keep clear of them.
void Render2D::DrawLabel(const std::string& text, const glm::vec2& screen, const glm::vec4& colour)
{
    UIContext& ui = owner.UI();
    QelBitmapFont* font = ui.GetFont(kLabelFont);
    if (text.empty() || !font)
        return;
    const int32_t inset = static_cast<int32_t>(kLabelPadding / 2.0f);
    const auto textInTheWay = [&](const IntRect& box) {
        return labels.Covering(IntRect{box.left + inset, box.top, box.right - inset, box.bottom});
    };
    const float half = (static_cast<float>(font->GetTextWidth(text)) + kLabelPadding) / 2.0f;
    const IntRect start{static_cast<int32_t>(screen.x - half),
                        static_cast<int32_t>(screen.y - kLabelHalfHeight) - kLabelRise,
                        static_cast<int32_t>(screen.x + half),
                        static_cast<int32_t>(screen.y + kLabelHalfHeight) - kLabelRise};
    const LabelStack::Placement placed = placedLabels.Place(start, kLabelStep, kMaxLabelMoves, textInTheWay);
    if (!placed.clear || !OnTarget(placed.box))
        return;
    labels.Claim(ui, font, placed.box, text, colour + glm::vec4(0.5f), kLabelLayer, {kShipLayer}, kAlignCentre);
}

// Some of the box (or its shadow, a pixel right and down) falls on the
// radar's target.
bool Render2D::OnTarget(const IntRect& box) const
{
    return box.right + 1 >= 0 && box.bottom + 1 >= 0 && box.left < owner.mainBuffWidth &&
           box.top < owner.mainBuffHeight;
}

// A read-out over its shadow at its place, or a few lines below where that
// place is taken; left out where every one of them is.
void Render2D::PlaceReadout(const IntRect& box, const std::string& text, const glm::vec4& colour, int align)
{
    UIContext& ui = owner.UI();
    std::array<IntRect, kMaxReadoutMoves + 1> candidates;
    for (size_t move = 0; move < candidates.size(); ++move) {
        candidates[move] = box;
        candidates[move].Translate(0, static_cast<int32_t>(move) * kReadoutStep);
    }
    labels.Place(ui, ui.GetFont(kLabelFont), candidates, text, colour, kLabelLayer, {kLabelLayer - 1}, align);
}

std::string Render2D::RangeText(float distance)
{
    if (distance > kRangeThousandsAbove)
        return std::to_string(static_cast<int64_t>(distance / 1000.0f)) + "K";
    return std::to_string(static_cast<int64_t>(distance));
}

void Render2D::DrawRangeBearing(const glm::vec2& screen, const glm::vec3& world, const SpaceObject& focus,
                                const glm::vec4& colour)
{
    const glm::vec3 d = world - focus.pos;
    const float distance = glm::length(d);
    const float x = screen.x, y = screen.y;
    PlaceReadout(Box(x, y, 3, 20, 200, 50), RangeText(distance), colour, kAlignLeft);
    PlaceReadout(Box(x, y, -203, 20, -6, 50), std::to_string(BearingDegrees(std::atan2(d.x, d.z))), colour,
                 kAlignRight);
}
