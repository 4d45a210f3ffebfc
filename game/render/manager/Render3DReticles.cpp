// The 3D view's reticles: the ship's weapon, science and comms locks, its
// waypoints and the name tags of the objects it sees, queued as world points
// during the pass and drawn over the picture at its end, each with a label
// and the label's shadow under it.

#include "game/render/manager/Render3D.h"

#include "engine/base/Qel2dBitmap.h"
#include "engine/base/QelBitmapFont.h"
#include "engine/base/QelGraphicsFactoryBase.h"
#include "game/behaviours/PlayerShipScience.h"
#include "game/render/manager/Render2DKeys.h"
#include "game/render/manager/RenderManager.h"
#include "game/render/manager/RenderUtilities.h"
#include "game/ui/UIContext.h"
#include "game/world/AppData.h"
#include "game/world/DataKey.h"
#include "game/world/Simulation.h"

#include "helper/ColorParse.h"

#include <glm/geometric.hpp>
#include <glm/mat4x4.hpp>
#include <glm/vec4.hpp>

#include <algorithm>
#include <array>
#include <cmath>

namespace {

// Reticles turn slowly, a hundredth of a radian each tick.
constexpr float kReticleSpinPerTick = -0.01f;
// A point whose direction from the eye lies within about 37 degrees of the
// view axis (cosine 0.8) is shown where it is; others get an edge pointer.
constexpr float kOnAxisCosine = 0.8f;
// Edge pointers shrink from 50 pixels near the eye to 20 at 3000 units.
constexpr float kEdgePointerNear = 50.0f;
constexpr float kEdgePointerShrink = 30.0f;
constexpr float kEdgePointerFarDistance = 3000.0f;
// The pointers' turn: a quarter turn plus an eighth, less the bearing, as
// the sheet's pointer cell is drawn.
constexpr float kEdgePointerTurn = 1.57079635f + 0.785398175f;

// The label in the largest face: 2000 pixels wide about the point, from 10
// pixels below it (or ending 10 pixels above it); its shadow 3 pixels right
// and down, one layer under it. A smaller face shrinks its height and
// shadow in step (the shadow a pixel at least).
constexpr int32_t kLabelHalfWidth = 1000;
constexpr int32_t kLabelTop = 10;
constexpr int32_t kLabelHeight = 50;
constexpr int32_t kShadowOffset = 3;
constexpr int kLabelLayer = 1004;
constexpr int kShadowLayer = 1003;
// The largest face a label takes: a full-screen view's. A label's line is
// about a 24th of the view's height as the crew sees it (gui-4 on a 1080-line
// screen), and never under 12 pixels there, where a small view would make it
// unreadable; the face is the largest of gui-4's sizes that keeps to that.
constexpr const char* kLargestLabelFont = "gui-4";
constexpr float kLabelShareOfView = 1.0f / 24.0f;
constexpr float kMinLabelPixels = 12.0f;

constexpr DataKey kWaypointCount{"waypoint_count", kPlayDoc};
constexpr DataKey kWaypointX{"waypoint_x_array", kPlayDoc};
constexpr DataKey kWaypointY{"waypoint_y_array", kPlayDoc};
constexpr DataKey kWaypointZ{"waypoint_z_array", kPlayDoc};
constexpr DataKey kWaypointName{"waypoint_name_array", kPlayDoc};
// A mission's waypoint list is read up to this many entries: more would be
// no use on one screen, and the count is the mission's to get wrong.
constexpr int64_t kMaxWaypoints = 100;

}  // namespace

void Render3D::DrawLockReticle(int32_t kind, const std::string& colourName, const glm::vec4& colour,
                               const glm::vec3& position, const std::string& label)
{
    LockReticle entry;
    entry.kind = kind;
    entry.colourName = colourName;
    entry.colour = colour;
    entry.label = label;
    entry.angle = static_cast<float>(theSimulation ? theSimulation->TickCount() : 0) * kReticleSpinPerTick;
    entry.size = static_cast<float>(AppData::GetInt("lock-reticle-size-3D"));

    const glm::mat4 view = camera.matrix;
    const glm::mat4 projection =
        gGraphicsFactory ? glm::transpose(gGraphicsFactory->GetProjectionMatrix()) : glm::mat4(1.0f);
    const glm::vec4 clip = projection * view * glm::vec4(position, 1.0f);
    const float width = static_cast<float>(owner.mainBuffWidth);
    const float height = static_cast<float>(owner.mainBuffHeight);
    const float halfWidth = static_cast<float>(owner.mainBuffWidth / 2);
    const float halfHeight = static_cast<float>(owner.mainBuffHeight / 2);

    const glm::vec3 apart = position + camera.eye;  // the eye is kept negated
    const float distance = glm::length(apart);
    const glm::vec3 axis(view[0][2], view[1][2], view[2][2]);
    const bool onAxis = clip.z > 0.0f && distance > 0.0f &&
                        std::abs(glm::dot(apart / distance, -axis)) > kOnAxisCosine;
    if (onAxis) {
        entry.position = glm::vec2(clip.x / clip.z * width * 0.5f + halfWidth,
                                   halfHeight - clip.y / clip.z * height * 0.5f);
    } else {
        // On a circle a third of the height about the centre, turned toward
        // the point; a point straight behind the eye has no bearing and
        // points up.
        const glm::vec4 eyeSpace = view * glm::vec4(position, 1.0f);
        const float across = std::hypot(eyeSpace.x, eyeSpace.y);
        const float bearing = across > 0.0f ? std::atan2(eyeSpace.x / across, eyeSpace.y / across) : 0.0f;
        entry.kind = kEdgePointerReticle;
        entry.size = kEdgePointerNear -
                     std::clamp(distance / kEdgePointerFarDistance, 0.0f, 1.0f) * kEdgePointerShrink;
        entry.angle = kEdgePointerTurn - bearing;
        entry.position = glm::vec2(halfWidth + std::sin(bearing) * height / 3.0f,
                                   halfHeight - std::cos(bearing) * height / 3.0f);
    }
    reticle_queue.push_back(std::move(entry));
}

// The weapon, science and comms locks on objects the ship's side has
// scanned, then every waypoint of the mission's list.
void Render3D::QueueOwnShipReticles(const SpaceObject& ship)
{
    struct Lock {
        const DataKey& target;
        int32_t kind;
        const char* colourKey;
    };
    const Lock locks[] = {{radarkeys::kWeaponTargetUid, kWeaponLockReticle, "gui-color-weapon-reticle"},
                          {radarkeys::kScienceTargetUid, kScienceLockReticle, "gui-color-science-reticle"},
                          {radarkeys::kCommsTargetUid, kCommsLockReticle, "gui-color-comms-reticle"}};
    const std::string scan(radarkeys::kScan.name);
    for (const Lock& lock : locks) {
        const SpaceObject* target = FindSpaceObject(ReadUInt64(ship.data_set, lock.target));
        if (!target || !ScannedBySide(*target, ship, scan))
            continue;
        DrawLockReticle(lock.kind, AppData::GetString(lock.colourKey), glm::vec4(1.0f), target->pos,
                        ReadString(target->data_set, radarkeys::kNameTag));
    }
    const int64_t waypoints = std::clamp<int64_t>(ReadInt(ship.data_set, kWaypointCount), 0, kMaxWaypoints);
    const std::string waypointColour = AppData::GetString("gui-color-waypoint");
    for (int32_t i = 0; i < waypoints; ++i) {
        const glm::vec3 at(ReadFloat(ship.data_set, kWaypointX, i), ReadFloat(ship.data_set, kWaypointY, i),
                           ReadFloat(ship.data_set, kWaypointZ, i));
        DrawLockReticle(kScienceLockReticle, waypointColour, glm::vec4(1.0f), at,
                        ReadString(ship.data_set, kWaypointName, i));
    }
}

void Render3D::QueueNameTag(const SpaceObject& object, const SpaceObject& viewer)
{
    DrawLockReticle(kNameTagReticle, "", owner.GetObjectColor(object, viewer), object.pos,
                    ReadString(object.data_set, radarkeys::kNameTag));
}

// The target's pixels that show as one pixel of the screen set the face: a
// small view of a large target (the game master's) shrinks what it draws.
QelBitmapFont* Render3D::LabelFaceFor(const IntRect& rect, const IntRect& crop) const
{
    UIContext& ui = owner.UI();
    QelBitmapFont* font = ui.GetFont(kLargestLabelFont);
    if (!rect.IsOpen() || !crop.IsOpen())
        return font;
    const float shown = static_cast<float>(rect.Height());
    const float targetPerScreen = static_cast<float>(crop.Height()) / shown;
    const float wanted = std::max(shown * kLabelShareOfView, kMinLabelPixels) * targetPerScreen;
    while (font && static_cast<float>(font->GetLineStep()) > wanted) {
        QelBitmapFont* smaller = ui.SmallerFont(font);
        if (!smaller)
            break;
        font = smaller;
    }
    return font;
}

// Into the main target, in its pixels: each reticle in its named colour or
// its own, the label in that colour over its black shadow, below the
// reticle or, where another label stands there, above it, and inside the
// part of the target the view shows.
void Render3D::DrawReticleQueue(const IntRect& rect)
{
    UIContext& ui = owner.UI();
    const IntRect crop = CropToRect(main_target->GetWidth(), main_target->GetHeight(), rect);
    QelBitmapFont* font = LabelFaceFor(rect, crop);
    QelBitmapFont* largest = ui.GetFont(kLargestLabelFont);
    const int32_t line = font ? font->GetLineStep() : 0;
    const int32_t largestLine = largest ? std::max(largest->GetLineStep(), 1) : 1;
    const int32_t height = font == largest ? kLabelHeight : kLabelHeight * line / largestLine;
    const int32_t shadowOffset = std::max(1, kShadowOffset * line / largestLine);
    labels.Clear();
    labels.SetBounds(crop);
    for (const LockReticle& entry : reticle_queue) {
        glm::vec4 colour{1.0f};
        ParseColor(colour, entry.colourName);
        if (entry.colourName.empty()) {
            owner.DrawReticle(entry.position, entry.kind, entry.colour, entry.angle, entry.size);
            colour = entry.colour;
        } else {
            owner.DrawReticleNamedColor(entry.position, entry.kind, entry.colourName, entry.angle, entry.size);
        }
        const int32_t x = static_cast<int32_t>(entry.position.x);
        const int32_t y = static_cast<int32_t>(entry.position.y);
        const IntRect below{x - kLabelHalfWidth, y + kLabelTop, x + kLabelHalfWidth, y + kLabelTop + height};
        IntRect above = below;
        above.Translate(0, -(2 * kLabelTop + height));
        labels.Place(ui, font, std::array{below, above}, entry.label, colour, kLabelLayer, {kShadowLayer, shadowOffset},
                     2);
    }
}
