// What the radar, the 3D view and the console widgets share about the
// objects they show: selecting one (which tells the server), the reticle
// sprites, friend or foe, and the colour a console shows an object in.

#include "game/render/manager/RenderManager.h"

#include "engine/base/Qel2dBitmap.h"
#include "game/net/CorvaneClient.h"
#include "game/net/NetworkIds.h"
#include "game/net/SignalMessage.h"
#include "game/render/manager/Render2DKeys.h"
#include "game/render/manager/SharedConsoleState.h"
#include "game/ui/UIContext.h"
#include "game/world/DataKey.h"
#include "game/world/ObjectDataBlob.h"
#include "game/world/Simulation.h"
#include "game/world/SpaceObject.h"
#include "helper/ColorParse.h"

#include <cmath>
#include <numbers>

using namespace radarkeys;

namespace {

constexpr const char* kReticleSheet = "reticle-set";
constexpr int32_t kReticleColumns = 5;
constexpr int32_t kReticleRows = 4;
constexpr int kReticleLayer = 1004;

// The colour a behaviour or a ship key always shows in, before sides count.
struct FixedColour {
    bool byBehaviour;  // else by ship key
    const char* name;
    GuiColor colour;
};
constexpr FixedColour kFixedColours[] = {
    {true, "behav_asteroid", kGuiColorAsteroid}, {false, "nebula", kGuiColorNebula},
    {false, "maelstrom", kGuiColorBlackHole},    {false, "blackhole", kGuiColorBlackHole},
    {false, "planet", kGuiColorPlanet},          {false, "torpedo", kGuiColorTorpedo},
    {false, "drone", kGuiColorDrone},            {true, "behav_missile", kGuiColorTorpedo},
    {true, "behav_pickup", kGuiColorPickup},     {true, "behav_monster", kGuiColorMonster},
};

}  // namespace

void RenderManager::SelectObject(uint64_t id, const glm::vec3& position, const std::string& selectionKey,
                                 const std::string& sourceTag)
{
    // Callers pass ids of objects they found; anything else selects nothing.
    selectedID = IsSpaceObjectId(id) ? id : 0;
    QelNetworkMessage& message = StartClientMessage("signal");
    WriteSignal(message, ConsoleSelection(console, selectedID, position, selectionKey, sourceTag));
    if (signalSink)
        signalSink(message);
    else
        SendClientMessage();
}

void RenderManager::DrawReticle(const glm::vec2& centre, int32_t cell, const glm::vec4& colour, float angle,
                                float radius)
{
    UIContext& ui = UI();
    Qel2dBitmap* sheet = ui.Bitmap(kReticleSheet);
    if (!sheet || cell < 0 || cell >= kReticleColumns * kReticleRows)
        return;
    const int32_t w = sheet->GetWidth();
    const int32_t h = sheet->GetHeight();
    const int32_t column = cell % kReticleColumns;
    const int32_t row = cell / kReticleColumns;
    sheet->SetSourceRectInt(QelRect{column * w / kReticleColumns, row * h / kReticleRows,
                                    w * (column + 1) / kReticleColumns, h * (row + 1) / kReticleRows});
    glm::vec2 corners[4];
    for (int k = 0; k < 4; ++k) {
        const double a = static_cast<double>(angle) + k * std::numbers::pi / 2.0;
        corners[k] = glm::vec2(centre.x + radius * static_cast<float>(std::sin(a)),
                               centre.y + radius * static_cast<float>(std::cos(a)));
    }
    sheet->SetDestQuad(corners[0].x, corners[0].y, corners[1].x, corners[1].y, corners[3].x, corners[3].y,
                       corners[2].x, corners[2].y);
    const float rgba[4] = {colour.r, colour.g, colour.b, colour.a};
    sheet->DrawQuad(rgba, kReticleLayer, false);
}

void RenderManager::DrawReticleNamedColor(const glm::vec2& centre, int32_t cell, const std::string& colour,
                                          float angle, float radius)
{
    glm::vec4 rgba{1.0f};
    ParseColor(rgba, colour);
    DrawReticle(centre, cell, rgba, angle, radius);
}

bool IsObjectFriendlyToSide(const SpaceObject& object, const std::string& sideTag)
{
    if (!theSimulation)
        return false;
    const int32_t relation = theSimulation->GetSideRelationship(sideTag, object.side);
    return relation == DIPLOMACY_NEUTRAL || relation == DIPLOMACY_ALLIED;
}

// The first rule that applies: the mission's override, the fixed colours of
// kinds, then by side for stations, player ships and scanned computer ships.
glm::vec4 RenderManager::GetObjectColor(const SpaceObject& object, const SpaceObject& viewer)
{
    glm::vec4 colour{1.0f};
    const std::string override = ReadString(object.data_set, kRadarColorOverride);
    if (!override.empty()) {
        ParseColor(colour, override);
        return colour;
    }
    for (const FixedColour& fixed : kFixedColours)
        if ((fixed.byBehaviour ? object.tick_type : object.data_tag) == fixed.name)
            return guiColors[fixed.colour];

    const bool station = object.tick_type == "behav_station";
    const bool playerShip = object.tick_type == "behav_playership";
    const bool npcShip = object.tick_type == "behav_npcship";
    if (!station && !playerShip) {
        if (ReadInt(object.data_set, kAnnounceSurrenderFlag) != 0)
            return guiColors[kGuiColorSurrenderedShip];
        if (ReadString(object.data_set, kScan, ObjectDataBlob::IndexOfString(viewer.side)).empty())
            return guiColors[kGuiColorUnscannedObject];
        if (!npcShip)
            return guiColors[kGuiColorMain];
    }
    if (ReadInt(object.data_set, kSurrenderFlag) != 0)
        return guiColors[kGuiColorSurrenderedShip];
    const int32_t relation = theSimulation ? theSimulation->GetSideRelationship(viewer.side, object.side) : 0;
    if (sideColorMode != 0 && theSimulation) {
        // A side the mission gave no colour shows by its relation instead.
        const auto& icons = theSimulation->sideTables.iconColours;
        const auto found = icons.find(SideTables::SideKey(object.side));
        if (found != icons.end())
            return found->second;
    }
    if (theSimulation && relation >= 0 && relation < DIPLOMACY_MAX)
        colour = theSimulation->sideTables.diplomacyColours[static_cast<size_t>(relation)];
    if (station || npcShip) {
        const GuiColor ally = station ? kGuiColorAllyStation : kGuiColorAllyShip;
        return relation == DIPLOMACY_ALLIED && guiColorSet[ally] ? guiColors[ally] : colour;
    }
    const GuiColor ship = &object == &viewer ? kGuiColorYourShip : kGuiColorPlayerShip;
    return guiColorSet[ship] ? guiColors[ship] : colour;
}
