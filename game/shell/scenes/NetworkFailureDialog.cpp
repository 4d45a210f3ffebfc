#include "game/shell/scenes/NetworkFailureDialog.h"

#include "game/net/CorvaneServer.h"
#include "game/shell/scenes/Scenes.h"
#include "game/ui/GUISound.h"
#include "game/ui/UIContext.h"
#include "game/ui/UIControls.h"
#include "game/world/Simulation.h"

namespace {

constexpr int kDialogLayer = 1100;
constexpr int32_t kBackButtonId = 10;
constexpr glm::vec4 kWhite{1.0f, 1.0f, 1.0f, 1.0f};
constexpr const char* kFailureText =
    "The network did not initialize correctly.  Possibly there's already a server running on this computer.";

}  // namespace

SceneFunction DrawNetworkFailureDialog(UIContext& ui, SceneFunction self)
{
    const float width = static_cast<float>(ui.WindowWidth());
    const float height = static_cast<float>(ui.WindowHeight());
    uiFrame(ui, 3, width * 0.1f, height * 0.1f, width * 0.9f, height * 0.9f, ui.dimColour, kDialogLayer);
    const IntRect text{static_cast<int32_t>(width * 0.1f) + 10, static_cast<int32_t>(height * 0.1f) + 10,
                       static_cast<int32_t>(width * 0.9f) - 10, static_cast<int32_t>(height * 0.9f) - 100};
    // The reason names the port, which is what the user can change.
    const std::string reason = gServer ? gServer->HostingFailure() : "";
    ui.DrawText(ui.GetFont("gui-2"), text, reason.empty() ? kFailureText : std::string(kFailureText) + "^^" + reason,
                kWhite, kDialogLayer + 1, 2);

    ui.SetCurrentRectEdges(static_cast<int32_t>(width * 0.3f), static_cast<int32_t>(height * 0.8f),
                           static_cast<int32_t>(width * 0.7f), static_cast<int32_t>(height * 0.9f));
    if (!uiButton(ui, kBackButtonId, "Back", "gui-2", true, kDialogLayer + 1))
        return self;
    PlayGUISound("gui_button");
    if (gServer)
        gServer->StopHosting();
    if (theSimulation)
        theSimulation->serverFlag = false;
    return SceneFirstMode;
}
