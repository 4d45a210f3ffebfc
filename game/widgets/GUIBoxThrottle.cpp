#include "game/widgets/GUIBoxThrottle.h"

#include "engine/base/QelInputFactoryBase.h"
#include "engine/base/QelVirtualKeys.h"
#include "game/behaviours/PlayerShipKeys.h"
#include "game/net/CorvaneClient.h"
#include "game/ui/ControllerInput.h"
#include "game/ui/GUISound.h"
#include "game/ui/KeyVal.h"
#include "game/ui/UIContext.h"
#include "game/ui/UIControls.h"
#include "game/widgets/ConsoleState.h"
#include "game/widgets/ConsoleWidgetSupport.h"
#include "game/widgets/GUIBoxManager.h"
#include "game/widgets/HelmSteering.h"
#include "game/world/SpaceObject.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace {

namespace vk = qel::vk;
using namespace playership;

constexpr int32_t kReverseButtonId = 1203;
constexpr int32_t kWarpButtonId = 1204;
constexpr int kLayer = 1000;
constexpr int kShadowLayer = 999;
// The WARP and REV rows and the speed label are this high; the column keeps
// one more pixel clear of each button.
constexpr int32_t kRowHeight = 26;
constexpr int32_t kShadowOffset = 2;
constexpr int kSegmentCount = 20;
constexpr int32_t kSegmentGap = 2;
// A drag in the bottom tenth of the column is a full stop, so a stop is
// easy to hit.
constexpr float kDragStopShare = 0.1f;
// Values above this are warp levels.
constexpr float kWarpThreshold = 1.5f;
constexpr float kFullImpulse = 1.0f;
constexpr float kHalfImpulse = 0.5f;
constexpr float kWarp1 = 2.0f;
constexpr float kWarp4 = 5.0f;
constexpr float kImpulseStep = 0.2f;
// A controller axis moved this far takes the throttle over.
constexpr float kAxisTakeOver = 0.2f;

const glm::vec4 kWhite{1.0f, 1.0f, 1.0f, 1.0f};
const glm::vec4 kUnlitWarp{0.3f, 0.3f, 0.3f, 1.0f};

// What the widget reads of its ship each frame.
struct ShipFacts {
    const SpaceObject* ship = nullptr;
    bool hasWarp = false;
};

float Limit(float value, float low, float high)
{
    return std::isnan(value) ? low : std::clamp(value, low, high);
}

// Step 2b: docked ships may be barred from impulse and warp.
void ApplyDockingRules(ThrottleWidgetState& state, const SpaceObject& ship, uint32_t now)
{
    if (ReadString(ship.data_set, kDockState) == kDockStateUndocked)
        return;
    const bool warpAllowed = ReadInt(ship.data_set, kWarpWhileDocked) != 0;
    if (state.warpMode && warpAllowed)
        return;
    if (state.warpMode) {
        state.reverse.Set(0.0f, now);
        state.throttle.Set(kFullImpulse, now);
        state.warpMode = false;
    }
    if (ReadInt(ship.data_set, kImpulseWhileDocked) == 0) {
        state.reverse.Set(0.0f, now);
        state.throttle.Set(0.0f, now);
        state.warpMode = false;
    }
}

// Step 2.
ShipFacts ReadShip(ThrottleWidgetState& state, uint32_t now)
{
    ShipFacts facts;
    facts.ship = ConsolePlayerShip();
    if (facts.ship == nullptr)
        return facts;
    const ObjectDataBlob& data = facts.ship->data_set;
    state.throttle.serverValue = ReadFiniteFloat(data, kPlayerThrottle);
    state.reverse.serverValue = ReadInt(data, kPlayerInReverse) != 0 ? 1.0f : 0.0f;
    facts.hasWarp = ReadInt(data, kWarpDriveActive) != 0;
    ApplyDockingRules(state, *facts.ship, now);
    return facts;
}

bool Action(const char* name)
{
    return theControllerInput.IsActionPressed(name);
}

// Step 4c: the warp steps, once per press.
void ControllerWarpSteps(ThrottleWidgetState& state, float& e)
{
    if (Action("Warp Increase") && e < kWarp4) {
        state.controllerOwns = true;
        if (!state.warpIncreaseLatch)
            e += 1.0f;
        state.warpIncreaseLatch = true;
        state.controllerStep = true;
    } else {
        state.warpIncreaseLatch = false;
    }
    if (Action("Warp Decrease") && e > 0.0f) {
        state.controllerOwns = true;
        if (!state.warpDecreaseLatch)
            e -= 1.0f;
        state.warpDecreaseLatch = true;
        state.controllerStep = true;
    } else {
        state.warpDecreaseLatch = false;
    }
}

// Step 4d.
void ControllerImpulseSteps(ThrottleWidgetState& state, float& e)
{
    const bool full = Action("Full Impulse");
    if (full) {
        e = kFullImpulse;
        state.controllerStep = true;
    }
    const bool half = Action("Half Impulse");
    if (half) {
        e = kHalfImpulse;
        state.controllerStep = true;
    }
    if (Action("Stop")) {
        e = 0.0f;
        state.controllerStep = true;
        state.controllerOwns = true;
    } else if (full || half) {
        state.controllerOwns = true;
    }
}

// Step 4e: a moved axis takes over and is followed until a step replaces it.
void ControllerAxis(ThrottleWidgetState& state, float& e)
{
    float axis = 0.0f;
    theControllerInput.GetAxisValue("Throttle", axis);
    axis = Limit(axis, -1.0f, 1.0f);
    if (std::fabs(axis - state.lastAxis) > kAxisTakeOver) {
        state.controllerOwns = true;
        state.controllerStep = false;
        state.lastAxis = axis;
        e = axis;
    } else if (state.controllerOwns && !state.controllerStep) {
        e = axis;
    }
}

// Step 4f: the highest warp button held.
void ControllerWarpLevels(ThrottleWidgetState& state, float& e)
{
    static constexpr const char* kLevels[] = {"Warp 1", "Warp 2", "Warp 3", "Warp 4"};
    float level = 0.0f;
    bool anyDown = false;
    for (int n = 0; n < 4; ++n) {
        if (Action(kLevels[n])) {
            level = kWarp1 + static_cast<float>(n);
            anyDown = true;
        }
    }
    if (!anyDown)
        return;
    e = level;
    state.controllerOwns = true;
    state.controllerStep = false;
}

// Step 4: a controller with saved settings drives the throttle.
void RunController(ThrottleWidgetState& state, bool hasWarp, uint32_t now)
{
    Action("Reverse");
    if (theControllerInput.noControllerActive)
        return;
    state.reverseEdge.Update(Action("Reverse"));
    if (state.reverseEdge.edge == 1) {
        state.controllerOwns = true;
        state.reverse.Set(state.reverse.value == 0.0f ? 1.0f : 0.0f, now);
        PlayGUISound("gui_button");
    }
    float e = !state.controllerOwns ? state.throttle.value : state.controllerStep ? state.lastControllerValue : 0.0f;
    if (hasWarp)
        ControllerWarpSteps(state, e);
    ControllerImpulseSteps(state, e);
    ControllerAxis(state, e);
    if (hasWarp && (state.controllerOwns || Action("Warp 1") || Action("Warp 2") || Action("Warp 3") ||
                    Action("Warp 4")))
        ControllerWarpLevels(state, e);
    state.throttle.Set(e, now);
    state.warpMode = e > kWarpThreshold;
    state.lastControllerValue = e;
}

// Step 5: the WARP button toggles between warp 1 and full impulse.
float WarpButton(UIContext& ui, ThrottleWidgetState& state, const IntRect& rect, bool enabled)
{
    ui.SetCurrentRectEdges(rect.left, rect.top, rect.right, rect.top + kRowHeight);
    if (!uiCheckButton(ui, kWarpButtonId, "WARP", "gui-1", state.warpMode, enabled, kLayer))
        return state.throttle.value;
    state.controllerOwns = false;
    PlayGUISound("gui_button");
    state.warpMode = !state.warpMode;
    return state.warpMode ? kWarp1 : kFullImpulse;
}

// Step 6: the ship's speed, white on a black shadow, in the row at the top
// of the box (below the WARP button where there is one): above the box it
// would write over the widget there. A column too narrow for the "SPD" before
// the number shows the number alone.
void DrawSpeed(UIContext& ui, const SpaceObject& ship, const IntRect& row)
{
    QelBitmapFont* font = ui.GetFont("gui-1");
    char number[48];
    std::snprintf(number, sizeof number, "%.2f", static_cast<double>(ship.cur_speed));
    std::string text = std::string("SPD ") + number;
    if (!ui.TextFitsWhole(font, row, text, TextFlow::kOneLine))
        text = number;
    ui.DrawShadowedText(font, row, text, kWhite, kLayer, {kShadowLayer, kShadowOffset}, 2, TextFlow::kOneLine);
}

// Step 7: the warp keys toggle their level; the impulse keys set, step and stop.
void ThrottleHotKeys(ThrottleWidgetState& state, const std::string& context, bool hasWarp, float v, uint32_t now)
{
    if (hasWarp) {
        for (int n = 1; n <= 4; ++n) {
            const std::string name = "warp" + std::to_string(n);
            const std::string description = "toggles warp level " + std::to_string(n);
            if (!isHotKeyPressed(context, name, vk::kDigit0 + n, description))
                continue;
            state.controllerOwns = false;
            const float level = static_cast<float>(n + 1);
            state.warpMode = v != level;
            v = state.warpMode ? level : kFullImpulse;
        }
    }
    const bool half = isHotKeyPressed(context, "impulse-half", vk::kControl, "sets 50% impulse");
    const bool full = isHotKeyPressed(context, "impulse-full", vk::kShift, "sets full impulse");
    float w = full ? kFullImpulse : half ? kHalfImpulse : v;
    if (isHotKeyPressed(context, "impulse-up", vk::kLetterA + ('B' - 'A'), "increase impulse by 20%"))
        w = Limit(w + kImpulseStep, 0.0f, 1.0f);
    if (isHotKeyPressed(context, "impulse-down", vk::kLetterA + ('V' - 'A'), "lower impulse by 20%"))
        w = Limit(w - kImpulseStep, 0.0f, 1.0f);
    if (isHotKeyPressed(context, "stop", vk::kSpace, "stops warp, or full stop if in impulse")) {
        state.controllerOwns = false;
        state.warpMode = false;
        w = w > 1.0f ? kFullImpulse : 0.0f;
    }
    if (state.reverse.value != 0.0f)
        w = Limit(w, -1.0f, 1.0f);
    state.throttle.Set(w, now);
}

// Step 8: no reverse at warp.
void ReverseButton(UIContext& ui, ThrottleWidgetState& state, const IntRect& rect, const std::string& context,
                   bool enabled, uint32_t now)
{
    ui.SetCurrentRectEdges(rect.left, rect.bottom - kRowHeight, rect.right, rect.bottom);
    const bool clicked =
        uiCheckButton(ui, kReverseButtonId, "REV", "gui-1", state.reverse.value != 0.0f, enabled, kLayer);
    const bool key = KeyVal::QueryPressed(context, "reverse", vk::kLetterA + ('R' - 'A'), vk::kControl,
                                          "toggles reverse");
    if (!clicked && !key)
        return;
    state.controllerOwns = false;
    if (state.warpMode) {
        PlayGUISound("gui_tab");
        return;
    }
    PlayGUISound("gui_button");
    state.reverse.Set(state.reverse.value == 0.0f ? 1.0f : 0.0f, now);
    state.throttle.Set(Limit(state.throttle.value, -1.0f, 1.0f), now);
}

// Step 10: each tracker's fall-back and send.
void SendChanges(ThrottleWidgetState& state, uint32_t now)
{
    state.throttle.FallBack(now);
    if (state.throttle.TakeDue(now))
        SendSignal(ThrottleSignal{state.throttle.value});
    state.reverse.FallBack(now);
    if (state.reverse.TakeDue(now))
        SendSignal(ReverseSignal{static_cast<int32_t>(state.reverse.value)});
}

glm::vec4 SegmentColour(bool warpMode, float f, float value)
{
    if (warpMode) {
        if (!(f * 4.0f + 1.0f <= value))
            return kUnlitWarp;
        if (f <= 0.25f)
            return {0.0f, 1.0f, 1.0f, 1.0f};
        if (f <= 0.5f)
            return {0.0f, 0.0f, 1.0f, 1.0f};
        if (f <= 0.75f)
            return {1.0f, 1.0f, 0.0f, 1.0f};
        return {1.0f, 0.0f, 0.0f, 1.0f};
    }
    const float threshold = f < 0.1f ? 0.0f : f;
    if (threshold < std::fabs(value))
        return {f, 1.0f, 0.0f, 1.0f};
    return {(f + 1.2f) * 0.2f, 0.44f, 0.24f, 1.0f};
}

// The share of the column the pointer stands at, as a throttle value.
float DragValue(bool warpMode, int32_t bottom, int32_t height, int32_t pointerY)
{
    float v = Limit(static_cast<float>(bottom - pointerY) / static_cast<float>(height), 0.0f, 1.0f);
    if (v < kDragStopShare)
        v = 0.0f;
    if (warpMode)
        v = std::min(kWarp4, std::floor(v * 4.0f) + kWarp1);
    return v;
}

}  // namespace

void ButtonEdge::Update(bool down)
{
    edge = down == lastState ? 0 : down ? 1 : -1;
    lastState = down;
}

void ViewThrottleDrawSegment(UIContext& ui, const ThrottleWidgetState& state, const IntRect& segment, float f,
                             float value)
{
    IntRect shown = segment;
    if (value < 0.0f) {
        const int32_t inset = segment.Width() / 5;
        shown.left += inset;
        shown.right -= inset;
    }
    ui.FillRect(static_cast<float>(shown.left), static_cast<float>(shown.top),
                          static_cast<float>(shown.right), static_cast<float>(shown.bottom),
                          SegmentColour(state.warpMode, f, value));
}

bool ViewThrottleSlider(ConsoleState& console, const IntRect& slider, float& value)
{
    ThrottleWidgetState& state = console.throttle;
    UIContext& ui = console.UI();
    const int32_t height = slider.bottom - slider.top;
    for (int i = 0; i < kSegmentCount; ++i) {
        const float f = static_cast<float>(i) / kSegmentCount;
        IntRect segment = slider;
        segment.bottom = slider.bottom - static_cast<int32_t>(f * static_cast<float>(height));
        segment.top = segment.bottom - height / kSegmentCount + kSegmentGap;
        ViewThrottleDrawSegment(ui, state, segment, f, value);
    }
    bool dragged = false;
    int32_t x = 0, y = 0;
    if (height > 0 && ui.MousePosition(x, y) && slider.left <= x && x <= slider.right && slider.top <= y &&
        y <= slider.bottom) {
        if (ui.LeftPressed())
            state.dragging = true;
        if (ui.activeId == 0) {
            console.mouseOverControl = true;
            if (ui.LeftDown() && state.dragging) {
                value = DragValue(state.warpMode, slider.bottom, height, y);
                dragged = true;
            }
        }
    }
    if (!ui.LeftDown())
        state.dragging = false;
    return dragged;
}

void ViewThrottleDrawBody(ConsoleState& console, IntRect rect, const std::string& widgetName)
{
    UIContext& ui = console.UI();
    ThrottleWidgetState& state = console.throttle;
    const bool enabled = !GUIBoxManager::IsEditKeyHeld();
    const uint32_t now = InputClockMilliseconds();
    const ShipFacts facts = ReadShip(state, now);
    if (state.warpMode && state.reverse.value != 0.0f) {
        state.reverse.Set(0.0f, now);
        state.throttle.Set(kWarp1, now);
    }
    RunController(state, facts.hasWarp, now);
    const float v = facts.hasWarp ? WarpButton(ui, state, rect, enabled) : state.throttle.value;
    const int32_t speedTop = facts.hasWarp ? rect.top + kRowHeight : rect.top;
    const IntRect speedRow{rect.left, speedTop, rect.right, speedTop + kRowHeight};
    if (facts.ship != nullptr)
        DrawSpeed(ui, *facts.ship, speedRow);
    ThrottleHotKeys(state, widgetName, facts.hasWarp, v, now);
    ReverseButton(ui, state, rect, widgetName, enabled, now);
    float value = state.throttle.value;
    const IntRect slider{rect.left, speedRow.bottom + 1, rect.right, rect.bottom - kRowHeight - 1};
    if (ViewThrottleSlider(console, slider, value))
        state.controllerOwns = false;
    state.throttle.Set(value, now);
    SendChanges(state, now);
}

void ViewThrottleDraw(ConsoleState& console, IntRect& rect, std::string widgetName)
{
    ViewThrottleDrawBody(console, rect, widgetName);
}
