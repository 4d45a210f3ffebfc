#include "game/shell/scenes/ServerClientList.h"

#include "engine/base/QelNetworkMessage.h"
#include "game/net/CorvaneServer.h"
#include "game/net/NetworkIds.h"
#include "game/ui/UIContext.h"
#include "game/ui/UIControls.h"
#include "game/world/Simulation.h"

#include <optional>
#include <string>

namespace {

constexpr int32_t kListWidth = 200;
// The panel and its lines reach this far past the window's right edge.
constexpr int32_t kOverhang = 50;
// Ticks the list stays after the set of consoles changed, and how far it has
// slid out once it is gone (kListWidth beyond that).
constexpr int32_t kShownTicks = 750;
constexpr int32_t kGoneTicks = kShownTicks + kListWidth;
constexpr uint64_t kShownIdModulus = 1000;
constexpr int kPanelLayer = 1100;
constexpr int kTextLayer = 1101;
constexpr glm::vec4 kPanelColour{0.2f, 0.2f, 0.2f, 1.0f};
constexpr glm::vec4 kIdColour{1.0f, 1.0f, 1.0f, 1.0f};
constexpr glm::vec4 kConsoleColour{1.0f, 1.0f, 0.5f, 1.0f};
constexpr glm::vec4 kShipColour{1.0f, 1.0f, 0.0f, 1.0f};
constexpr glm::vec4 kRoleColour{0.0f, 0.0f, 1.0f, 1.0f};

// Bottom of the last line drawn, from the frame before: the panel reaches it.
constexpr int32_t kNoLines = -40;
int32_t lastBottom = kNoLines;

void Line(UIContext& ui, const std::string& text, const glm::vec4& colour)
{
    ui.DrawText(ui.GetFont("gui-1"), ui.CurrentRect(), text, colour, kTextLayer, 0);
    ui.ShiftRectY(1, 1);
}

// The ship's "name_tag"; nothing when the record names no ship of the world.
std::optional<std::string> ShipName(uint64_t shipId)
{
    SpaceObject* ship = theSimulation && IsSpaceObjectId(shipId) ? theSimulation->GetSpaceObject(shipId) : nullptr;
    if (ship == nullptr)
        return std::nullopt;
    const ObjectDataBlobElement* name = ship->data_set.FindElement(HashMessageName("name_tag"), 0);
    return name ? name->stringValue : "";
}

void DrawClient(UIContext& ui, const ClientRecord& client)
{
    Line(ui, std::to_string(client.id % kShownIdModulus) + " " + std::string(client.idleCount / 2, '!'), kIdColour);
    Line(ui, client.consoleName, kConsoleColour);
    if (const std::optional<std::string> shipName = ShipName(client.shipId))
        Line(ui, *shipName, kShipColour);
    const std::string roles = std::string(client.mainScreenFlag ? "M " : "") + (client.scienceFlag ? "S " : "");
    if (!roles.empty())
        Line(ui, roles, kRoleColour);
}

}  // namespace

// The list shows while consoles come and go; once the last has left there is
// nothing to list, and no empty panel stays behind.
void DrawServerClientList(UIContext& ui)
{
    if (!gServer)
        return;
    if (gServer->Clients().empty()) {
        lastBottom = kNoLines;
        return;
    }
    const int32_t width = ui.WindowWidth();
    const int32_t age = gServer->ClientListAge();
    const int32_t left = age > kShownTicks ? width + age - kGoneTicks : width - kListWidth;
    if (left > width)
        return;
    uiFrame(ui, 2, static_cast<float>(left), -50.0f, static_cast<float>(width + kOverhang),
            static_cast<float>(lastBottom + 10), kPanelColour, kPanelLayer);
    // The lines keep their width as the list slides out: they leave the
    // window whole rather than squeezed into what is left of it.
    ui.SetCurrentRectEdges(left, 3, left + kListWidth + kOverhang, 17);
    for (const auto& [id, client] : gServer->Clients()) {
        DrawClient(ui, *client);
        lastBottom = ui.CurrentRect().bottom;
    }
}
