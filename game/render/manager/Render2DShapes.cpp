// The radar's shapes measured in world units: beam arcs and shield marks of
// ships, the range rings, the map grid with its cell names, the elevation
// arrows, the scan ring and the short-lived beam, lightning and blast effects.

#include "game/render/manager/Render2D.h"

#include "engine/base/Qel2dBitmap.h"
#include "game/render/manager/Render2DKeys.h"
#include "game/render/manager/RenderManager.h"
#include "game/ui/UIContext.h"
#include "game/world/AppData.h"
#include "game/world/ShipData.h"
#include "game/world/Simulation.h"
#include "game/world/SpaceObject.h"
#include "helper/ColorParse.h"

#include <glm/geometric.hpp>
#include <glm/gtc/quaternion.hpp>

#include <algorithm>
#include <span>
#include <cmath>
#include <numbers>

using namespace radarkeys;

namespace {

constexpr float kPi = std::numbers::pi_v<float>;

// A barrel angle from this up means "point where the mount sits".
constexpr float kBarrelFromHullPoint = 1000.0f;
// Beams a ship's data may claim are drawn up to this many: no hull mounts
// more, and a garbled count must not stall the frame.
constexpr int32_t kMaxDrawnBeams = 64;
constexpr int32_t kArcSegments = 10;

// Rings every 2000 units from 1000 out; the middle one (5000) is the usual
// sensor reach and shows red.
constexpr int32_t kRingCount = 5;
constexpr float kFarRing = 5000.0f;
// Each half of a ring is 26 segments: counted, not stepped until π, since
// the rounded step passes π one segment early and would leave a gap.
constexpr int32_t kRingHalfSegments = 26;
constexpr float kRingStep = 0.12083049f;  // 2π / 52

// Grid cells of 20000 units, 11 by 11 around the view.
constexpr float kCellSize = 20000.0f;
constexpr int32_t kCellReach = 5;
constexpr int32_t kRowLetters = 26;
constexpr const char* kGridFont = "gui-1";
constexpr int32_t kColumnNumbers = 100;
constexpr int32_t kCellNameOrigin = 12;

// Elevation arrows: only for points within 5000 units across and 60 degrees
// of the ship's bow, one arrow per height step passed.
constexpr float kArrowReachSquared = 2.5e7f;
constexpr float kArrowCone = 0.5f;  // cos 60°
constexpr float kArrowSteps[] = {50.0f, 200.0f, 1000.0f};
constexpr float kArrowOffset = 25.0f;

// Beams and lightning run from source to target in about 39 ticks; blasts
// grow to 1000 units, a ship's death to 3000.
constexpr float kBoltTicks = 30.0f;
constexpr float kBoltHalfLength = 0.3f;
constexpr float kBlastRadius = 1000.0f;
constexpr float kDeathRadius = 3000.0f;
constexpr int32_t kBlastSegments = 100;

int32_t PositiveModulo(int32_t value, int32_t divisor)
{
    const int32_t r = value % divisor;
    return r < 0 ? r + divisor : r;
}

// The offset turned about the vertical axis by the heading.
glm::vec3 TurnAboutUp(const glm::vec3& v, float heading)
{
    const float c = std::cos(heading), s = std::sin(heading);
    return {v.x * c + v.z * s, v.y, -v.x * s + v.z * c};
}

}  // namespace

void Render2D::Line(const glm::vec2& a, const glm::vec2& b, const glm::vec4& colour, int layer, bool additive)
{
    UIContext& ui = owner.UI();
    Qel2dBitmap* white = ui.White();
    if (!white)
        return;
    const float rgba[4] = {colour.r, colour.g, colour.b, colour.a};
    white->DrawLine(a.x, a.y, b.x, b.y, layer, rgba, additive);
}

// --- Beam arcs and shields -------------------------------------------------

void Render2D::DrawBeamArcs(const SpaceObject& ship, std::vector<BeamArc>& out) const
{
    out.clear();
    const ShipDataRecord* record = ShipData::Instance().Find(ship.data_tag);
    const glm::vec3 f = ship.rot_quat * glm::vec3(0.0f, 0.0f, 1.0f);
    const float base = std::atan2(f.x, f.z) + (record ? record->meshRotate : 0.0f) * kPi / 2.0f;
    const int32_t count = static_cast<int32_t>(std::clamp<int64_t>(ReadInt(ship.data_set, kBeamCount), 0,
                                                                   kMaxDrawnBeams));
    for (int32_t i = 0; i < count; ++i) {
        const ObjectDataBlob& blob = ship.data_set;
        const float barrel = ReadFiniteFloat(blob, kBeamBarrelAngle, i);
        float direction = 0.0f;
        if (barrel < kBarrelFromHullPoint) {
            const float radians = barrel * kPi / 180.0f;
            direction = std::atan2(std::sin(radians), std::cos(radians));
        } else {
            // The direction of the mount seen from above; atan2 needs no
            // normalising, and a mount at the centre gives 0 rather than NaN.
            direction =
                std::atan2(ReadFiniteFloat(blob, kBeamHullPointX, i), ReadFiniteFloat(blob, kBeamHullPointZ, i));
        }
        float centre = direction + base;
        if (owner.radarRelativePositions)
            centre -= viewHeading;
        const float half = ReadFiniteFloat(blob, kBeamArcWidth, i) / 180.0f * kPi * 0.5f;
        out.push_back({centre - half, centre + half, ReadFiniteFloat(blob, kBeamRange, i),
                       {ReadFiniteFloat(blob, kBeamColorR, i), ReadFiniteFloat(blob, kBeamColorG, i),
                        ReadFiniteFloat(blob, kBeamColorB, i), ReadFiniteFloat(blob, kBeamColorA, i)}});
    }
}

void Render2D::QueueArcs(const glm::vec2& screen, const std::vector<BeamArc>& list)
{
    for (const BeamArc& arc : list)
        queuedArcs.push_back({screen, arc});
}

// All ships' arcs one after another, so their lines fill batches of their
// own and go to the graphics as one draw.
void Render2D::DrawQueuedArcs()
{
    for (const QueuedArc& queued : queuedArcs) {
        const BeamArc& arc = queued.arc;
        const glm::vec2 screen = queued.screen;
        const float r = arc.range * owner.radarScale;
        const auto at = [&](float angle) { return screen + PolarToScreen(angle, r); };
        const float step = (arc.end - arc.start) / static_cast<float>(kArcSegments);
        Line(screen, at(arc.start), arc.colour, kShipLayer);
        for (int32_t k = 0; k < kArcSegments; ++k)
            Line(at(arc.start + static_cast<float>(k) * step), at(arc.start + static_cast<float>(k + 1) * step),
                 arc.colour, kShipLayer);
        Line(at(arc.end), screen, arc.colour, kShipLayer);
    }
    queuedArcs.clear();
}

// One mark per facing that holds: green, yellow under two thirds, red under
// one third; a single shield is one ring fading from green to red.
void Render2D::DrawShields(const SpaceObject& ship, const ScreenPoint& at, float iconScale)
{
    if (ReadInt(ship.data_set, kShieldsRaisedFlag) != 1)
        return;
    const int32_t count = shipkeys::ShieldFacingCount(ship.data_set);
    for (int32_t i = 0; i < count; ++i) {
        const float value = ReadFiniteFloat(ship.data_set, kShieldVal, i);
        if (!(value > 0.0f))
            continue;
        const float full = ReadFiniteFloat(ship.data_set, kShieldMaxVal, i);
        const float f = full > 0.0f ? value / full : 1.0f;
        const float angle = at.angle + static_cast<float>(i + 1) * kPi;
        if (count == 1) {
            DrawSprite("singleShield", at.pos, angle, iconScale * 0.3f, glm::vec4(1.0f - f, f, 0.0f, 0.7f), kShipLayer);
            continue;
        }
        const char* mark = "shldFace1";
        glm::vec4 colour(0.0f, 1.0f, 0.0f, 1.0f);
        if (f < 0.33f) {
            mark = "shldFace3";
            colour = glm::vec4(1.0f, 0.0f, 0.0f, 1.0f);
        } else if (f < 0.66f) {
            mark = "shldFace2";
            colour = glm::vec4(1.0f, 1.0f, 0.0f, 1.0f);
        }
        DrawSprite(mark, at.pos, angle, iconScale * 0.2f, colour, kShipLayer);
    }
}

// --- Rings and grid --------------------------------------------------------

void Render2D::DrawRangeRings(const glm::vec2& centre, const glm::vec4& ringColour, const glm::vec4& farColour)
{
    for (int32_t i = 1; i <= kRingCount; ++i) {
        const float worldRadius = static_cast<float>(i * 2000 - 1000);
        const float r = worldRadius * owner.radarScale;
        const glm::vec4& colour = worldRadius == kFarRing ? farColour : ringColour;
        const auto at = [&](float c) { return centre + glm::vec2(std::sin(c) * r, std::cos(c) * r); };
        for (int32_t k = 0; k < kRingHalfSegments; ++k) {
            const float c = static_cast<float>(k) * kRingStep;
            Line(at(c), at(c + kRingStep), colour, kBackLayer);
            Line(at(c + kPi), at(c + kPi + kRingStep), colour, kBackLayer);
        }
    }
}

int32_t Render2D::GridFirstCell(float world)
{
    return static_cast<int32_t>(world / kCellSize - 1.0f);
}

std::string Render2D::GridCellName(int32_t column, int32_t row)
{
    std::string name(1, static_cast<char>('A' + PositiveModulo(row + kCellNameOrigin, kRowLetters)));
    const int32_t number = PositiveModulo(column + kCellNameOrigin, kColumnNumbers);
    name += static_cast<char>('0' + number / 10);
    name += static_cast<char>('0' + number % 10);
    return name;
}

// Lines on the multiples of a cell around the view, and each cell's name in
// its middle while that lies on the view.
void Render2D::DrawGrid(float worldX, float worldZ, const glm::vec4& colour, const IntRect& clip)
{
    if (!std::isfinite(worldX) || !std::isfinite(worldZ))
        return;
    const int32_t c0 = GridFirstCell(worldX);
    const int32_t r0 = GridFirstCell(worldZ);
    for (int32_t col = c0 - kCellReach; col <= c0 + kCellReach; ++col) {
        for (int32_t row = r0 - kCellReach; row <= r0 + kCellReach; ++row) {
            const float x0 = static_cast<float>(col) * kCellSize;
            const float z0 = static_cast<float>(row) * kCellSize;
            const glm::vec2 corner = WorldToScreen({x0, 0.0f, z0}, 0.0f).pos;
            const glm::vec2 east = WorldToScreen({x0 + kCellSize, 0.0f, z0}, 0.0f).pos;
            const glm::vec2 north = WorldToScreen({x0, 0.0f, z0 + kCellSize}, 0.0f).pos;
            Line(corner, east, colour, kBackLayer);
            Line(corner, north, colour, kBackLayer);
            const glm::vec2 middle = (east + north) * 0.5f;
            if (clip.Contains(static_cast<int32_t>(middle.x), static_cast<int32_t>(middle.y)))
                gridNames.push_back({{static_cast<int32_t>(middle.x) - 50, static_cast<int32_t>(middle.y) - 18,
                                      static_cast<int32_t>(middle.x) + 50, static_cast<int32_t>(middle.y) + 18},
                                     GridCellName(col, row), colour});
        }
    }
}

// The cells' names yield to the objects' labels: each shows where it covers none.
void Render2D::PlaceGridNames()
{
    UIContext& ui = owner.UI();
    QelBitmapFont* font = ui.GetFont(kGridFont);
    for (const GridName& name : gridNames)
        labels.Place(ui, font, std::span(&name.box, 1), name.text, name.colour, kBackLayer, {kBackLayer - 1}, 2);
    gridNames.clear();
}

// --- Arrows, scan ring, effects --------------------------------------------

void Render2D::DrawElevationArrows(const glm::vec2& screen, const glm::vec3& world, const SpaceObject& focus,
                                   const glm::vec4& colour, int layer)
{
    const glm::vec3 d = world - focus.pos;
    if (d.x * d.x + d.z * d.z > kArrowReachSquared)
        return;
    const float length = glm::length(d);
    const glm::vec3 bow = focus.rot_quat * glm::vec3(0.0f, 0.0f, 1.0f);
    // A point on the ship itself has no direction: it gets no arrows.
    if (!(length > 0.0f) || glm::dot(d / length, bow) < kArrowCone)
        return;
    const float h = d.y;
    int32_t n = 0;
    for (float step : kArrowSteps)
        n += std::fabs(h) > step ? 1 : 0;
    const float o = h < 0.0f ? -kArrowOffset : kArrowOffset;
    const float y0 = screen.y - o * 0.5f * static_cast<float>(n) * 0.5f;
    for (int32_t k = 1; k <= n; ++k)
        DrawSprite("uparrow", {screen.x + o, o * 0.5f * static_cast<float>(k) + y0}, h < 0.0f ? kPi : 0.0f, 0.2f,
                   colour, layer);
}

void Render2D::DrawScanRing(const SpaceObject& object, const glm::vec2& screen)
{
    if (frame.scanId != object.uniqueID || object.uniqueID == 0)
        return;
    glm::vec4 colour{1.0f};
    ParseColor(colour, AppData::GetString("gui-color-science-reticle"));
    ringRenderer.Draw(owner.UI(), screen, kScanRingRadius, 0.0f, frame.scanPercent * 2.0f * kPi, colour * 0.6f,
                      kFillLayer);
}

void Render2D::DrawEffects()
{
    for (const EffectEventRecord& effect : theSimulation->effectEvents)
        DrawEffect(effect);
}

void Render2D::DrawEffect(const EffectEventRecord& effect)
{
    const float age = static_cast<float>(frame.tick - effect.startTick);
    const glm::vec3 rgb = effect.firstPoint;
    if (effect.kind == "beam" || effect.kind == "lightning") {
        const SpaceObject* source = theSimulation->GetSpaceObject(effect.firstId);
        const SpaceObject* target = theSimulation->GetSpaceObject(effect.secondId);
        if (!source || !target)
            return;
        glm::vec3 offset = effect.secondPoint;
        if (const ShipDataRecord* record = ShipData::Instance().Find(source->data_tag))
            offset *= record->radarScale * record->meshScale;
        const glm::vec2 s = WorldToScreen(source->pos + TurnAboutUp(offset, ViewHeadingOf(*source)), 0.0f).pos;
        const glm::vec2 e = WorldToScreen(target->pos, 0.0f).pos;
        const float t = age / kBoltTicks;
        const float a0 = std::clamp(t - kBoltHalfLength, 0.0f, 1.0f);
        const float a1 = std::clamp(t + kBoltHalfLength, 0.0f, 1.0f);
        Line(s * (1.0f - a0) + e * a0, s * (1.0f - a1) + e * a1, glm::vec4(rgb, 1.0f) + glm::vec4(0.5f), kShipLayer,
             true);
        return;
    }
    if (effect.kind != "emp" && effect.kind != "nuke" && effect.kind != "npc_death")
        return;
    const int64_t life = effect.expiryTick - effect.startTick;
    if (life <= 0)
        return;
    const float radius = (effect.kind == "npc_death" ? kDeathRadius : kBlastRadius) * age / static_cast<float>(life);
    const glm::vec3 c = effect.secondPoint;
    const auto at = [&](int32_t k) {
        const float a = 2.0f * kPi * static_cast<float>(k) / static_cast<float>(kBlastSegments);
        return WorldToScreen({c.x + std::sin(a) * radius, c.y, c.z + std::cos(a) * radius}, 0.0f).pos;
    };
    glm::vec2 previous = at(0);
    for (int32_t k = 0; k < kBlastSegments; ++k) {
        const glm::vec2 next = at(k + 1);
        Line(previous, next, glm::vec4(rgb, 1.0f), kShipLayer, true);
        previous = next;
    }
}
