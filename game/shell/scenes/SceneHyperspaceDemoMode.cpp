// The hyperspace demo: one ship type after another seen from behind as it
// travels, for the look of ships under way. Space shows the next ship;
// Escape or Exit returns to the developer tools. The ships are the types of
// the ship data that fly under their own power (they have exhaust ports),
// in key order.

#include "engine/base/QEL3DObject.h"
#include "engine/base/QelKeyboard.h"
#include "engine/base/QelVirtualKeys.h"
#include "game/render/ObjectTypeDrawData.h"
#include "game/render/manager/RenderManager.h"
#include "game/shell/UIContext.h"
#include "game/shell/scenes/DevOrbitView.h"
#include "game/shell/scenes/SceneUtilities.h"
#include "game/shell/scenes/Scenes.h"
#include "game/world/ShipData.h"

#include <glm/ext/matrix_transform.hpp>
#include <glm/geometric.hpp>
#include <glm/gtc/constants.hpp>

#include <algorithm>
#include <string>
#include <vector>

namespace {

constexpr int32_t kExitId = 10;
constexpr int kLayer = 1000;
// Seen from behind and a little above, the ship filling about a third of the view.
constexpr float kViewYaw = 0.0f;
constexpr float kViewPitch = 0.08f;
constexpr float kShipSpan = 3.0f;  // view distance per unit of the ship's size
// Streaks of passing space: how many, how far out, how long, how fast.
constexpr int kStreaks = 120;
constexpr float kStreakRadius = 260.0f;
constexpr float kStreakDepth = 2400.0f;
constexpr float kStreakLength = 160.0f;
constexpr float kStreakSpeed = 60.0f;  // units per tick
const glm::vec4 kStreakColour{0.55f, 0.75f, 1.0f, 0.8f};
const glm::vec4 kWhite{1.0f, 1.0f, 1.0f, 1.0f};
const IntRect kCaptionBox{2, 2, 900, 200};

struct HyperspaceDemo {
    std::vector<std::string> ships;
    int32_t shipIndex = 0;
    int32_t tickCount = 0;
};
HyperspaceDemo demo;

const std::string& CurrentShip()
{
    static const std::string none;
    const auto index = static_cast<size_t>(demo.shipIndex);
    return index < demo.ships.size() ? demo.ships[index] : none;
}

void Enter()
{
    demo.ships.clear();
    for (const auto& [key, record] : ShipData::Instance().mainKeys)
        if (std::any_of(record->exhaustPorts.begin(), record->exhaustPorts.end(),
                        [](const ShipExhaustPort& port) { return port.position != glm::vec3(0.0f); }))
            demo.ships.push_back(key);
    if (demo.shipIndex >= static_cast<int32_t>(demo.ships.size()))
        demo.shipIndex = 0;
}

void Frame()
{
    QelKeyboard* keyboard = theUIContext.Keyboard();
    if (keyboard && keyboard->IsKeyReleased(qel::vk::kSpace) && !demo.ships.empty())
        demo.shipIndex = (demo.shipIndex + 1) % static_cast<int32_t>(demo.ships.size());
}

// Pseudo-random but fixed places for the streaks, so they read as a field.
glm::vec3 StreakAt(int streak)
{
    const float angle = static_cast<float>(streak) * 2.39996323f;  // the golden angle spreads them evenly
    const float radius = kStreakRadius * (0.35f + 0.65f * static_cast<float>((streak * 37) % kStreaks) / kStreaks);
    const float travel = std::fmod(static_cast<float>(streak * 211) + static_cast<float>(demo.tickCount) * kStreakSpeed,
                                   kStreakDepth);
    return {radius * std::cos(angle), radius * std::sin(angle), kStreakDepth / 2.0f - travel};
}

void DrawShip(const DevViewPass& pass, const ObjectTypeDrawData& drawData, const ShipDataRecord& record)
{
    pass.LightShips();
    const glm::mat4 model =
        glm::rotate(glm::mat4(1.0f), record.meshRotate * glm::half_pi<float>(), glm::vec3(0.0f, 1.0f, 0.0f)) *
        glm::scale(glm::mat4(1.0f), glm::vec3(record.meshScale));
    drawData.mesh->Draw(model, pass.View(), nullptr, "Redwood");
}

SceneFunction Draw()
{
    UIContext& ui = theUIContext;
    const ShipDataRecord* record = ShipData::Instance().Find(CurrentShip());
    ObjectTypeDrawData* drawData =
        theRenderManager && !CurrentShip().empty() ? theRenderManager->GetObjectTypeDrawData(CurrentShip()) : nullptr;
    DevOrbitView view;
    view.yawValue = kViewYaw;
    view.pitchValue = kViewPitch;
    const float size = drawData && record ? std::max(drawData->size * record->meshScale, 1.0f) : 100.0f;
    view.distance = std::clamp(size * kShipSpan, DevOrbitView::kMinDistance, DevOrbitView::kMaxDistance);
    DevViewPass pass;
    if (pass.Begin(view)) {
        if (record && drawData && drawData->mesh)
            DrawShip(pass, *drawData, *record);
        pass.End();
        for (int streak = 0; streak < kStreaks; ++streak) {
            const glm::vec3 head = StreakAt(streak);
            glm::vec2 a, b;
            if (pass.ToWindow(head, a) && pass.ToWindow(head - glm::vec3(0.0f, 0.0f, kStreakLength), b))
                ui.DrawLine(a.x, a.y, b.x, b.y, kStreakColour, DevViewPass::kOverlayLayer);
        }
    }
    const std::string caption = CurrentShip().empty()
                                    ? std::string("no ship types to show")
                                    : CurrentShip() + "   (" + std::to_string(demo.shipIndex + 1) + " of " +
                                          std::to_string(demo.ships.size()) + ")^Space shows the next ship";
    ui.DrawText(ui.GetFont("gui-2"), kCaptionBox, caption, kWhite, kLayer, 0);
    SetDevToolButtonColumn();
    return DevToolExit(kExitId) ? SceneFunction(SceneDevToolsMode) : SceneFunction(SceneHyperspaceDemoMode);
}

}  // namespace

SceneFunction SceneHyperspaceDemoMode(SceneEvent event)
{
    switch (event) {
    case SCENE_ENTER: Enter(); break;
    case SCENE_FRAME: Frame(); break;
    case SCENE_TICK: ++demo.tickCount; break;
    case SCENE_DRAW: return Draw();
    default: break;
    }
    return SceneHyperspaceDemoMode;
}
