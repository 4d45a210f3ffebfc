// How each thing on the radar is drawn: nav points and proxies, the objects
// of the world by kind (terrain, special markers, ships) with their icons
// reserved and their labels queued for the label pass (Render2DLabels.cpp),
// the pointer read-out and the speech bubbles.

#include "game/render/manager/Render2D.h"

#include "engine/base/Qel2dBitmap.h"
#include "engine/base/QelBitmapFont.h"
#include "game/render/ObjectTypeDrawData.h"
#include "game/render/manager/Render2DKeys.h"
#include "game/render/manager/RenderManager.h"
#include "game/ui/UIContext.h"
#include "game/ui/UIControls.h"
#include "game/ui/VisibleCenter.h"
#include "game/world/ObjectDataBlob.h"
#include "game/world/ShipData.h"
#include "game/world/Simulation.h"
#include "game/world/SideTables.h"
#include "game/world/SpaceObject.h"
#include "helper/ColorParse.h"

#include <glm/geometric.hpp>

#include <algorithm>
#include <array>
#include <cmath>
#include <numbers>

using namespace radarkeys;

namespace {

constexpr float kPi = std::numbers::pi_v<float>;
constexpr const char* kLabelFont = "gui-1";

// Terrain art by zoom: the finer pictures only while they would show.
struct ZoomArt {
    float minScale;  // this art from this scale up
    const char* bitmap;
    float factor;
};
constexpr ZoomArt kNebulaArt[] = {{0.0138f, "icon-nebula", 1.3f}, {0.007f, "icon-nebula64", 4.0f},
                                  {0.0f, "icon-nebula8", 32.0f}};
constexpr ZoomArt kAsteroidArt[] = {{0.18f, "generic-asteroid", 1.0f}, {0.095f, "generic-asteroid50", 2.8f},
                                    {0.0f, "generic-asteroid8", 17.5f}};
constexpr float kNebulaScale = 12.0f;  // a nebula's art spans its size twelve times over
constexpr float kDefaultDisplaySize = 1000.0f;

// The pointer read-out's distance switches to thousands from here.
constexpr float kPointerThousandsFrom = 1000.0f;
// A point nav point farther than this from the centre shows as an arrow
// this far out.
constexpr float kNavArrowRadius = 350.0f;
// A pickup is a small square of this many pixels.
constexpr float kPickupPixels = 12.8f;
// A mission's selection marker is a cell of the icon sheet this wide.
constexpr float kMarkerHalfSize = 10.0f;

const ZoomArt& ArtForScale(const ZoomArt (&table)[3], float scale)
{
    for (const ZoomArt& art : table)
        if (scale >= art.minScale)
            return art;
    return table[2];
}

float DisplaySize(const SpaceObject& object)
{
    const float size = ReadFiniteFloat(object.data_set, kDisplaySize);
    return size == 0.0f ? kDefaultDisplaySize : size;
}

glm::vec4 OverrideOr(const SpaceObject& object, const glm::vec4& colour)
{
    const std::string text = ReadString(object.data_set, kRadarColorOverride);
    glm::vec4 result = colour;
    if (!text.empty())
        ParseColor(result, text);
    return result;
}

}  // namespace

// --- Drawing helpers ------------------------------------------------------

void Render2D::DrawSprite(const std::string& name, const glm::vec2& at, float angle, float scale,
                          const glm::vec4& colour, int layer, bool additive)
{
    UIContext& ui = owner.UI();
    Qel2dBitmap* bitmap = ui.Bitmap(name);
    if (!bitmap)
        return;
    const float rgba[4] = {colour.r, colour.g, colour.b, colour.a};
    bitmap->DrawRotated(at.x, at.y, angle, scale, layer, rgba, additive);
}

void Render2D::DrawText(const std::string& font, const IntRect& box, const std::string& text, const glm::vec4& colour,
                        int layer, int align)
{
    UIContext& ui = owner.UI();
    ui.DrawText(ui.GetFont(font), box, text, colour, layer, align);
}

bool Render2D::InCull(const glm::vec2& p) const
{
    return p.x >= static_cast<float>(frame.cull.left) && p.x <= static_cast<float>(frame.cull.right) &&
           p.y >= static_cast<float>(frame.cull.top) && p.y <= static_cast<float>(frame.cull.bottom);
}

// --- Nav points and proxies ------------------------------------------------

void Render2D::DrawNavPoints()
{
    if (!theSimulation)
        return;
    for (const auto& [id, point] : theSimulation->navpoints) {
        if (frame.focus) {
            if (point.visibleToShip != 0 && point.visibleToShip != frame.focus->uniqueID)
                continue;
            if (!point.visibleToSide.empty() && (!frame.own || point.visibleToSide != frame.own->side))
                continue;
        }
        DrawNavPoint(point);
    }
}

void Render2D::DrawNavPoint(const Navpoint& point)
{
    UIContext& ui = owner.UI();
    const glm::vec4 colour = point.color;
    if (point.isArea) {
        glm::vec2 screen[4];
        IntRect bounds{INT32_MAX, INT32_MAX, INT32_MIN, INT32_MIN};
        for (int k = 0; k < 4; ++k) {
            screen[k] = WorldToScreen(glm::vec3(point.corners[k].x, 0.0f, point.corners[k].y), 0.0f).pos;
            bounds.left = std::min(bounds.left, static_cast<int32_t>(screen[k].x));
            bounds.top = std::min(bounds.top, static_cast<int32_t>(screen[k].y));
            bounds.right = std::max(bounds.right, static_cast<int32_t>(screen[k].x));
            bounds.bottom = std::max(bounds.bottom, static_cast<int32_t>(screen[k].y));
        }
        if (bounds.right < viewRect.left || bounds.left > viewRect.right || bounds.bottom < viewRect.top ||
            bounds.top > viewRect.bottom)
            return;
        if (Qel2dBitmap* white = ui.White()) {
            const float rgba[4] = {colour.r, colour.g, colour.b, colour.a};
            white->SetDestQuad(screen[0].x, screen[0].y, screen[1].x, screen[1].y, screen[3].x, screen[3].y,
                               screen[2].x, screen[2].y);
            white->DrawQuad(rgba, kFillLayer, false);
        }
        glm::vec2 centre;
        if (VisibleCenter(owner.mainBuffWidth, owner.mainBuffHeight, {screen[0], screen[1], screen[2], screen[3]},
                          centre))
            QueueNavLabel(Box(centre.x, centre.y, -500, -100, 500, 100), point.text, glm::vec4(1.0f));
        return;
    }
    const glm::vec2 p = WorldToScreen(point.pos, 0.0f).pos;
    const glm::vec2 centre(static_cast<float>(owner.radarCenterX), static_cast<float>(owner.radarCenterY));
    const glm::vec2 offset = p - centre;
    const float halfWidth = static_cast<float>(frame.rect.Width()) * 0.5f;
    if (glm::dot(offset, offset) < halfWidth * halfWidth) {
        if (!viewRect.Contains(static_cast<int32_t>(p.x), static_cast<int32_t>(p.y)))
            return;
        DrawSprite("icon-map-pin", p, 0.0f, 0.2f, colour, kTerrainLayer);
        ReserveSprite("icon-map-pin", p, 0.0f, 0.2f);
        QueueNavLabel(Box(p.x, p.y, -500, 10, 500, 30), point.text, colour);
        if (frame.focus)
            DrawElevationArrows(p, point.pos, *frame.focus, colour, kTerrainLayer);
        return;
    }
    const glm::vec2 u = offset / std::sqrt(glm::dot(offset, offset));
    const glm::vec2 q = centre + kNavArrowRadius * u;
    DrawSprite("icon-map-arrow", q, std::atan2(u.x, u.y), 0.2f, colour, kTerrainLayer);
    ReserveSprite("icon-map-arrow", q, std::atan2(u.x, u.y), 0.2f);
    QueueNavLabel(Box(q.x, q.y, -500, 10, 500, 30), point.text, colour);
}

// A proxy stands in for an object this console cannot see; once the object
// itself was drawn, the proxy only remembers that it was seen.
void Render2D::DrawNavProxies()
{
    if (!theSimulation)
        return;
    const auto& lastFrame = frameObjects[currentFrameObjects ^ 1];
    for (const auto& [id, proxy] : theSimulation->navproxies) {
        if (lastFrame.count(proxy.proxy_id) != 0) {
            seenNavProxies.insert(id);
            continue;
        }
        const glm::vec2 p = WorldToScreen(proxy.pos, 0.0f).pos;
        if (InCull(p))
            DrawNavProxy(proxy, p, seenNavProxies.count(id) != 0, kTerrainLayer);
    }
}

void Render2D::DrawNavProxy(const NavProxy& proxy, const glm::vec2& p, bool seen, int layer)
{
    const ObjectTypeDrawData* drawData = owner.GetObjectTypeDrawData(proxy.shiptype);
    const glm::vec4 colour = proxy.color;
    if (drawData && drawData->silhouette) {
        const float rgba[4] = {colour.r, colour.g, colour.b, colour.a};
        drawData->silhouette->DrawRotated(p.x, p.y, 0.0f, 0.25f, layer, rgba, false);
        ReserveSilhouette(*drawData, p, 0.0f, 0.25f);
    } else if (const ShipDataRecord* record = ShipData::Instance().Find(proxy.shiptype)) {
        DrawSprite(record->artFileRoot + "256", p, 0.0f, 0.25f, colour, layer);
        ReserveSprite(record->artFileRoot + "256", p, 0.0f, 0.25f);
    }
    QueueNavLabel(Box(p.x, p.y, -500, 10, 500, 40), proxy.text, colour);

    const glm::vec4 outline(colour.r * 0.5f, colour.g * 0.5f, colour.b * 0.5f, colour.a);
    const float x = p.x, y = p.y;
    if (seen) {
        Line({x - 50, y}, {x, y - 50}, outline, kFillLayer);
        Line({x, y - 50}, {x + 50, y}, outline, kFillLayer);
        Line({x + 50, y}, {x, y + 50}, outline, kFillLayer);
        Line({x, y + 50}, {x - 50, y}, outline, kFillLayer);
        return;
    }
    // Four chevrons pointing outwards.
    const glm::vec2 tips[4] = {{-50, 0}, {50, 0}, {0, -50}, {0, 50}};
    for (const glm::vec2& tip : tips) {
        const glm::vec2 inward = tip * 0.8f;
        const glm::vec2 across(tip.y != 0.0f ? 10.0f : 0.0f, tip.x != 0.0f ? 10.0f : 0.0f);
        Line(p + tip, p + inward + across, outline, kFillLayer);
        Line(p + tip, p + inward - across, outline, kFillLayer);
    }
}

// --- Objects ---------------------------------------------------------------

void Render2D::DrawObjects()
{
    queuedArcs.clear();
    for (SuperContainerObject* entry : theSimulation->Container()->Objects())
        DrawObject(static_cast<const SpaceObject&>(*entry));
    DrawQueuedArcs();
}

void Render2D::DrawObject(const SpaceObject& object)
{
    if (object.data_tag == "nebula") {
        DrawTerrain(object, true);
        return;
    }
    if (object.tick_type == "behav_asteroid") {
        DrawTerrain(object, false);
        return;
    }
    const ScreenPoint at = WorldToScreen(object.pos, IconHeading(object));
    if (!InCull(at.pos))
        return;
    OfferToPick(object, at.pos);
    const glm::vec4 colour = frame.sideShip ? owner.GetObjectColor(object, *frame.sideShip) : glm::vec4(1.0f);
    if (!DrawSpecialObject(object, at, colour))
        DrawShip(object, at, colour);
    DrawReticles(object, at.pos);
    if (&object == frame.focus) {
        const float a = at.angle;
        Line({at.pos.x + 50.0f * std::sin(a), at.pos.y + 50.0f * std::cos(a)},
             {at.pos.x + 250.0f * std::sin(a), at.pos.y + 250.0f * std::cos(a)}, owner.guiColors[kGuiColorMain],
             kBackLayer);
    }
}

// Nebulae and asteroids: at every zoom for a ship that sees far, else only
// zoomed in closer than the terrain limit.
void Render2D::DrawTerrain(const SpaceObject& object, bool nebula)
{
    if (frame.terrainLimit > owner.radarScale && ReadInt(frame.focus->data_set, kHighInformationShipFlag) == 0)
        return;
    const ScreenPoint at = WorldToScreen(object.pos, 0.0f);
    if (!InCull(at.pos))
        return;
    const ZoomArt& art = ArtForScale(nebula ? kNebulaArt : kAsteroidArt, owner.radarScale);
    const float sizeScale = DisplaySize(object) / 1000.0f * owner.radarScale * art.factor;
    if (nebula) {
        DrawSprite(art.bitmap, at.pos, at.angle, sizeScale * kNebulaScale,
                   OverrideOr(object, owner.guiColors[kGuiColorNebula]), kTerrainLayer, true);
        return;
    }
    DrawSprite(art.bitmap, at.pos, at.angle, sizeScale, OverrideOr(object, owner.guiColors[kGuiColorAsteroid]),
               kTerrainLayer);
    OfferToPick(object, at.pos);
}

// The kinds that are not drawn as ships. False when the object is none of them.
bool Render2D::DrawSpecialObject(const SpaceObject& object, const ScreenPoint& at, const glm::vec4& colour)
{
    UIContext& ui = owner.UI();
    const std::string& key = object.data_tag;
    const std::string& behaviour = object.tick_type;
    bool matched = false;
    if (key == "invisible")
        matched = true;
    if (key == "maelstrom" || key == "blackhole") {
        DrawSprite("icon-blackhole", at.pos, static_cast<float>(frame.tick) / 1000.0f,
                   object.exclusion_radius / 10.0f * owner.radarScale, colour, kTerrainLayer);
        EnterFrameObject(object);
        matched = true;
    }
    if (key == "planet") {
        owner.UpdatePlanetParameters(object);
        DrawSprite("icon-globe", at.pos, 0.0f, object.exclusion_radius / 400.0f * owner.radarScale, colour, kTerrainLayer);
        EnterFrameObject(object);
        matched = true;
    }
    if (key == "torpedo" || key == "drone") {
        DrawSprite("teardrop", at.pos, at.angle + kPi, 0.1f, glm::vec4(colour.r, colour.g, colour.b, 1.0f),
                   kShipLayer);
        ReserveSprite("teardrop", at.pos, at.angle + kPi, 0.1f);
        EnterFrameObject(object);
        if (frame.focus)
            DrawElevationArrows(at.pos, object.pos, *frame.focus, colour, kShipLayer);
        matched = true;
    }
    const bool monster = behaviour == "behav_monster";
    const bool marker = behaviour == "behav_selection";
    if (monster || marker) {
        if (monster) {
            DrawSprite("icon-mine", at.pos, 0.0f, 0.3f, colour, kShipLayer);
            ReserveSprite("icon-mine", at.pos, 0.0f, 0.3f);
        } else {
            uiGridIcon(ui, static_cast<int>(ReadInt(object.data_set, kIconIndex)), colour, at.pos.x, at.pos.y, 20.0f,
                       kShipLayer);
            ReserveIcon(at.pos, glm::vec2(-kMarkerHalfSize), glm::vec2(kMarkerHalfSize), 0.0f);
        }
        EnterFrameObject(object);
        if (frame.focus)
            DrawElevationArrows(at.pos, object.pos, *frame.focus, colour, kShipLayer);
        RegisterSide(object);
        const std::string name = ReadString(object.data_set, kNameTag);
        LabelContact(object, at.pos, monster && !ScannedByOwnSide(object) ? "??" : name, colour);
        DrawScanRing(object, at.pos);
        matched = true;
    }
    if (behaviour == "behav_pickup") {
        if (Qel2dBitmap* white = ui.White()) {
            const float scale = kPickupPixels / static_cast<float>(white->GetWidth());
            DrawSprite(UIContext::kWhiteBitmap, at.pos, 0.0f, scale, colour, kShipLayer);
            ReserveSprite(UIContext::kWhiteBitmap, at.pos, 0.0f, scale);
        }
        EnterFrameObject(object);
        if (frame.focus)
            DrawElevationArrows(at.pos, object.pos, *frame.focus, colour, kShipLayer);
        matched = true;
    }
    return matched;
}

void Render2D::DrawShip(const SpaceObject& object, const ScreenPoint& at, const glm::vec4& colour)
{
    const bool playerShip = object.tick_type == "behav_playership";
    const bool npcShip = object.tick_type == "behav_npcship";
    const bool unknown = npcShip && !ScannedByOwnSide(object);

    const SpaceObject& focus = *frame.focus;
    const float lowVisReach = ReadFiniteFloat(focus.data_set, kEliteLowVisDistance);
    const bool lowVisHidden = ReadInt(object.data_set, kEliteLowVis) != 0 &&
                              glm::distance(object.pos, focus.pos) > lowVisReach && !frame.scienceConsole;
    const bool mainHidden = frame.mainConsole && ReadInt(object.data_set, kEliteMainScnInvis) != 0;
    if (lowVisHidden || mainHidden)
        return;
    const ShipDataRecord* record = ShipData::Instance().Find(object.data_tag);
    if (!record)
        return;
    ScreenPoint icon = at;
    icon.angle += record->meshRotate * kPi / 2.0f;
    EnterFrameObject(object);

    if (unknown) {
        DrawSprite("unknownShipIcon", icon.pos, icon.angle + kPi, record->radarScale * 0.2f, colour, kShipLayer);
        ReserveSprite("unknownShipIcon", icon.pos, icon.angle + kPi, record->radarScale * 0.2f);
    } else {
        const ObjectTypeDrawData* drawData = owner.GetObjectTypeDrawData(object.data_tag);
        if (drawData && drawData->silhouette) {
            const float localScale = ReadFiniteFloat(object.data_set, kLocalScale);
            const float scale = record->radarScale * 0.2f * (localScale == 0.0f ? 1.0f : localScale);
            const float rgba[4] = {colour.r, colour.g, colour.b, colour.a};
            drawData->silhouette->DrawRotated(icon.pos.x, icon.pos.y, icon.angle, scale, kShipLayer, rgba, false);
            ReserveSilhouette(*drawData, icon.pos, icon.angle, scale);
        }
    }
    DrawElevationArrows(icon.pos, object.pos, focus, colour, kShipLayer);
    DrawShields(object, icon, record->radarScale);
    if ((playerShip || npcShip) && !unknown) {
        DrawBeamArcs(object, arcs);
        const int32_t mode = owner.radarArcMode;
        if (mode == 0 || (mode == 1 && playerShip))
            QueueArcs(icon.pos, arcs);
    }
    if (&object == frame.own || object.IsStatic())
        return;
    RegisterSide(object);
    const std::string label = ScannedByOwnSide(object) ? ReadString(object.data_set, kNameTag) : std::string();
    LabelContact(object, icon.pos, label, colour);
    if (frame.scanId == object.uniqueID && frame.scanPercent < 1.0f)
        DrawScanRing(object, icon.pos);
    if (frame.kind == kScienceKind)
        RequestScan(object);
}

bool Render2D::ScannedByOwnSide(const SpaceObject& object) const
{
    const std::string side = frame.own ? frame.own->side : std::string();
    return !ReadString(object.data_set, kScan, ObjectDataBlob::IndexOfString(side)).empty();
}

void Render2D::RegisterSide(const SpaceObject& object)
{
    seenSides.insert(SideTables::SideKey(object.side));
}

void Render2D::EnterFrameObject(const SpaceObject& object)
{
    frameObjects[currentFrameObjects].insert(object.uniqueID);
}

// --- Read-outs of the pointer and speech ----------------------------------

std::string Render2D::PointerRangeText(float distance)
{
    if (distance < kPointerThousandsFrom)
        return std::to_string(static_cast<int64_t>(distance));
    return std::to_string(static_cast<int64_t>(distance / 1000.0f)) + "K";
}

// Distance and bearing from the focus ship to the point under the pointer.
void Render2D::DrawPointerReadout()
{
    UIContext& ui = owner.UI();
    if (!viewRect.Contains(static_cast<int32_t>(frame.pointer.x), static_cast<int32_t>(frame.pointer.y)))
        return;
    const glm::vec3 world = ScreenToWorld(frame.pointer, 0.0f).pos;
    const glm::vec3 d = frame.focus->pos - world;
    int32_t bearing = static_cast<int32_t>(std::atan2(d.x, d.z) * 180.0f / kPi + 180.0f);
    while (bearing >= 360)
        bearing -= 360;
    const std::string text = PointerRangeText(glm::length(d)) + "   " + std::to_string(bearing) + " deg";
    const IntRect box = Box(frame.pointer.x, frame.pointer.y, -360, 0, 360, 60);
    ui.DrawShadowedText(ui.GetFont(kLabelFont), box, text, owner.guiColors[kGuiColorMain],
                                  kReadoutLayer, {kLabelLayer}, 2);
}

void Render2D::DrawSpeechBubbles()
{
    UIContext& ui = owner.UI();
    if (!theSimulation)
        return;
    QelBitmapFont* font = ui.GetFont(kLabelFont);
    for (const SpeechBubble& bubble : owner.speechBubbles) {
        const SpaceObject* object = theSimulation->GetSpaceObject(bubble.objectId);
        if (!object)
            continue;
        const glm::vec2 p = WorldToScreen(object->pos, 0.0f).pos;
        if (!viewRect.Contains(static_cast<int32_t>(p.x), static_cast<int32_t>(p.y)))
            continue;
        const float width = font ? static_cast<float>(font->GetTextWidth(bubble.text)) : 0.0f;
        const IntRect box = Box(p.x, p.y, 15, -40, width + 34, -16);
        glm::vec4 colour{1.0f};
        ParseColor(colour, bubble.colour);
        if (Qel2dBitmap* white = ui.White()) {
            const float rgba[4] = {colour.r, colour.g, colour.b, colour.a};
            white->SetDestRect(static_cast<float>(box.left), static_cast<float>(box.top),
                               static_cast<float>(box.right), static_cast<float>(box.bottom));
            white->DrawQuad(rgba, kLabelLayer, false);
        }
        ui.FillTriangle(p.x + 15, p.y - 40, p.x + 45, p.y - 40, p.x, p.y, colour, kLabelLayer);
        IntRect inner = box;
        inner.Offset(2, 2, -2, -2);
        DrawText(kLabelFont, inner, bubble.text, glm::vec4(1.0f), kReadoutLayer, 0);
    }
}
