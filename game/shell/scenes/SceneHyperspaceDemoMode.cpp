// The hyperspace demo: the 3D view's super-hyper-warp screen with one ship
// type after another. Space shows the next ship; Escape or Exit returns to
// the developer tools. The ships are the types of the ship data that fly
// under their own power (they have exhaust ports), in key order.

#include "engine/base/QelKeyboard.h"
#include "engine/base/QelVirtualKeys.h"
#include "game/render/manager/RenderManager.h"
#include "game/shell/scenes/SceneUtilities.h"
#include "game/shell/scenes/Scenes.h"
#include "game/ui/UIContext.h"
#include "game/world/ShipData.h"

#include <algorithm>
#include <string>
#include <vector>

namespace {

constexpr int32_t kExitId = 10;
constexpr int kLayer = 1000;
const glm::vec4 kWhite{1.0f, 1.0f, 1.0f, 1.0f};
const IntRect kCaptionBox{2, 2, 900, 200};

struct HyperspaceDemo {
    std::vector<std::string> ships;
    int32_t shipIndex = 0;
};
HyperspaceDemo demo;

const std::string& CurrentShip()
{
    static const std::string none;
    const auto index = static_cast<size_t>(demo.shipIndex);
    return index < demo.ships.size() ? demo.ships[index] : none;
}

void ShowCurrentShip(RenderManager* view)
{
    if (!view)
        return;
    view->render3D.HideHyperWarp();
    if (!CurrentShip().empty())
        view->render3D.ShowHyperWarp(CurrentShip());
}

void Enter(RenderManager* view)
{
    demo.ships.clear();
    for (const auto& [key, record] : ShipData::Instance().mainKeys)
        if (std::any_of(record->exhaustPorts.begin(), record->exhaustPorts.end(),
                        [](const ShipExhaustPort& port) { return port.position != glm::vec3(0.0f); }))
            demo.ships.push_back(key);
    if (demo.shipIndex >= static_cast<int32_t>(demo.ships.size()))
        demo.shipIndex = 0;
    ShowCurrentShip(view);
}

void Leave(RenderManager* view)
{
    if (view)
        view->render3D.HideHyperWarp();
}

void Frame(UIContext& ui, RenderManager* view)
{
    QelKeyboard* keyboard = ui.Keyboard();
    if (!keyboard || !keyboard->IsKeyReleased(qel::vk::kSpace) || demo.ships.empty())
        return;
    demo.shipIndex = (demo.shipIndex + 1) % static_cast<int32_t>(demo.ships.size());
    ShowCurrentShip(view);
}

SceneFunction Draw(UIContext& ui, RenderManager* view)
{
    if (view && view->render3D.hyper_warp_on)
        view->render3D.DrawHyperWarp();
    const std::string caption = CurrentShip().empty()
                                    ? std::string("no ship types to show")
                                    : CurrentShip() + "   (" + std::to_string(demo.shipIndex + 1) + " of " +
                                          std::to_string(demo.ships.size()) + ")^Space shows the next ship";
    ui.DrawText(ui.GetFont("gui-2"), kCaptionBox, caption, kWhite, kLayer, 0);
    SetDevToolButtonColumn(ui);
    return DevToolExit(ui, kExitId) ? SceneFunction(SceneDevToolsMode) : SceneFunction(SceneHyperspaceDemoMode);
}

}  // namespace

SceneFunction SceneHyperspaceDemoMode(SceneEvent event, SceneState& scenes, RenderManager* view)
{
    UIContext& ui = scenes.UI();
    switch (event) {
    case SCENE_ENTER: Enter(view); break;
    case SCENE_LEAVE: Leave(view); break;
    case SCENE_FRAME: Frame(ui, view); break;
    case SCENE_DRAW: return Draw(ui, view);
    default: break;
    }
    return SceneHyperspaceDemoMode;
}
