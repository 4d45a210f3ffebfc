#include "game/widgets/BridgeButtons.h"

#include "engine/base/QelVirtualKeys.h"
#include "game/behaviours/PlayerShipKeys.h"
#include "game/net/SignalMessage.h"
#include "game/net/SignalMessageCrew.h"
#include "game/render/manager/RenderManager.h"
#include "game/ui/KeyVal.h"
#include "game/ui/UIContext.h"
#include "game/ui/UIControls.h"
#include "game/widgets/ConsoleState.h"
#include "game/widgets/ConsoleWidgetSupport.h"
#include "game/widgets/GUIBoxManager.h"
#include "game/world/Simulation.h"

namespace {

constexpr int kLayer = UIContext::kControlLayer;
constexpr int kIconLayer = 1004;
constexpr const char* kFont = "gui-2";
constexpr const char* kClickSound = "gui_button";

// The zoom buttons share the radar's key context, whichever box shows them.
constexpr const char* kRadarKeys = "radar-2d";
constexpr int32_t kZoomButtons = 7;
constexpr float kZoomInFactor = 1.2f;
constexpr float kZoomOutFactor = 0.8f;
constexpr int32_t kSideColourOnCell = 23;
constexpr int32_t kSideColourOffCell = 174;
const glm::vec4 kIconTint{1.0f, 1.0f, 1.0f, 1.0f};

struct ZoomButton {
    int32_t id;
    int32_t cell;
    const char* keyName;
    int32_t defaultKey;  // held with Ctrl
    const char* description;
    float level;  // the zoom it sets; 0: a step in or out
    float factor;  // the step
};

constexpr ZoomButton kZoomRows[kZoomButtons - 1] = {
    {90001, 152, "zoom in", qel::vk::kPrior, "2d radar zoom in", 0.0f, kZoomInFactor},
    {90002, 160, "zoom 1", qel::vk::kDigit0 + 1, "2d radar zoom level 1", 0.1f, 0.0f},
    {90003, 161, "zoom 2", qel::vk::kDigit0 + 2, "2d radar zoom level 2", 0.03f, 0.0f},
    {90004, 162, "zoom 3", qel::vk::kDigit0 + 3, "2d radar zoom level 3", 0.01f, 0.0f},
    {90005, 163, "zoom 4", qel::vk::kDigit0 + 4, "2d radar zoom level 4", 0.005f, 0.0f},
    {90006, 153, "zoom out", qel::vk::kNext, "2d radar zoom out", 0.0f, kZoomOutFactor},
};
constexpr int32_t kSideColourButtonId = 90007;
// Ctrl + Home: the colour mode has a key of its own, apart from zoom out's.
constexpr int32_t kSideColourKey = qel::vk::kHome;

// The three buttons' ids, keys and controller actions.
constexpr int32_t kRedAlertId = 1901;
constexpr int32_t kDockId = 701;
constexpr int32_t kShieldsId = 711;
constexpr int32_t kRedAlertKey = qel::vk::kLetterA + ('D' - 'A');
// H for harbour: D is red alert's, and B steps the throttle of the same helm.
constexpr int32_t kDockKey = qel::vk::kLetterA + ('H' - 'A');
constexpr int32_t kShieldsKey = qel::vk::kLetterA + ('S' - 'A');

ControllerActionEdge redAlertAction("RedAlert");
ControllerActionEdge dockAction("Dock");
ControllerActionEdge shieldsAction("Shields");

// The seven cells of the zoom row: stacked in a box taller than wide, else side by side.
IntRect ZoomCell(const IntRect& rect, int32_t index)
{
    if (rect.Width() < rect.Height()) {
        const int32_t step = rect.Height() / kZoomButtons;
        return IntRect{rect.left, rect.top + index * step, rect.right, rect.top + (index + 1) * step};
    }
    const int32_t step = rect.Width() / kZoomButtons;
    return IntRect{rect.left + index * step, rect.top, rect.left + (index + 1) * step, rect.bottom};
}

bool ZoomKeyPressed(const char* name, int32_t key, const char* description)
{
    return KeyVal::QueryPressed(kRadarKeys, name, key, qel::vk::kControl, description);
}

bool IconClicked(UIContext& ui, const IntRect& cell, int32_t id, int32_t icon)
{
    ui.SetCurrentRect(cell);
    return uiIconButtonInRect(ui, id, icon, kIconTint, 0, kIconLayer);
}

}  // namespace

void ViewRadarZoomCtrlDraw(ConsoleState& console, IntRect& rect, std::string)
{
    UIContext& ui = console.UI();
    if (!console.renderer)
        return;
    RenderManager& manager = *console.renderer;
    for (int32_t i = 0; i < kZoomButtons - 1; ++i) {
        const ZoomButton& button = kZoomRows[i];
        const bool clicked = IconClicked(ui, ZoomCell(rect, i), button.id, button.cell);
        if (!ZoomKeyPressed(button.keyName, button.defaultKey, button.description) && !clicked)
            continue;
        PlayGUISound(kClickSound);
        manager.SetRadarZoom(button.level > 0.0f ? button.level : manager.radarScale * button.factor);
    }
    const int32_t cell = manager.sideColorMode ? kSideColourOnCell : kSideColourOffCell;
    const bool clicked = IconClicked(ui, ZoomCell(rect, kZoomButtons - 1), kSideColourButtonId, cell);
    if (ZoomKeyPressed("side rep", kSideColourKey, "2d radar color type") || clicked) {
        PlayGUISound(kClickSound);
        manager.sideColorMode = !manager.sideColorMode;
    }
}

// The world's flag changes at once; the server passes the new state on.
void ViewRedAlertDraw(ConsoleState& console, IntRect& rect, std::string widgetName)
{
    UIContext& ui = console.UI();
    if (!theSimulation)
        return;
    ui.SetCurrentRect(rect);
    const bool on = theSimulation->redAlertState != 0;
    const bool clicked =
        uiCheckButton(ui, kRedAlertId, "RED ALERT", kFont, on, !GUIBoxManager::IsEditKeyHeld(), kLayer);
    const bool key = isHotKeyPressed(widgetName, "red_alert", kRedAlertKey, "toggles the red alert state");
    if (!(clicked | key | redAlertAction.Pressed()))
        return;
    theSimulation->redAlertState = on ? 0 : 1;
    SendWithSound(kClickSound, RedAlertSignal{theSimulation->redAlertState});
}

// Anything but "undocked" (docking, docked, no ship) offers the release.
void ViewRequestDockDraw(ConsoleState& console, IntRect& rect, std::string widgetName)
{
    UIContext& ui = console.UI();
    const SpaceObject* ship = ConsolePlayerShip();
    const bool undocked = ship && ReadString(ship->data_set, playership::kDockState) == playership::kDockStateUndocked;
    ui.SetCurrentRect(rect);
    const bool clicked = uiButton(ui, kDockId, undocked ? "INITIATE DOCK" : "RELEASE DOCK", kFont,
                                  !GUIBoxManager::IsEditKeyHeld(), kLayer);
    const bool key = isHotKeyPressed(widgetName, "dock", kDockKey, "requests dock engage");
    if (!(clicked | key | dockAction.Pressed()))
        return;
    const uint64_t shipId = theSimulation ? theSimulation->subjectID : 0;
    if (undocked)
        SendWithSound(kClickSound, DockSignal{shipId});
    else
        SendWithSound(kClickSound, UndockSignal{shipId});
}

// The button shows the ship's replicated state: the server's answer turns it.
void ViewShieldControlDraw(ConsoleState& console, IntRect& rect, std::string widgetName)
{
    UIContext& ui = console.UI();
    const SpaceObject* ship = ConsolePlayerShip();
    const bool raised = ship && ReadInt(ship->data_set, playership::kShieldsRaisedFlag) != 0;
    ui.SetCurrentRect(rect);
    const bool clicked =
        uiCheckButton(ui, kShieldsId, "SHIELDS", kFont, raised, !GUIBoxManager::IsEditKeyHeld(), kLayer);
    const bool key = isHotKeyPressed(widgetName, "shields", kShieldsKey, "toggles shield state");
    if (!(clicked | key | shieldsAction.Pressed()))
        return;
    SendWithSound(kClickSound, ShieldsSignal{raised ? 0 : 1});
}
