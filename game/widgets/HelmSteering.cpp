#include "game/widgets/HelmSteering.h"

#include "engine/base/QelInputFactoryBase.h"
#include "engine/base/QelMouse.h"
#include "engine/base/QelVirtualKeys.h"
#include "game/behaviours/PlayerShipKeys.h"
#include "game/ui/ControllerInput.h"
#include "game/ui/KeyVal.h"
#include "game/widgets/ConsoleState.h"
#include "game/world/Simulation.h"
#include "game/world/SimulationClock.h"

#include <algorithm>
#include <cmath>

namespace {

// About ten steering signals a second at most, whatever the frame rate.
constexpr int64_t kSteeringSendTicks = 3;
constexpr int kLeftButton = 0;
constexpr int kRightButton = 2;

float HeldDemand(float value)
{
    // NaN is no demand at all; anything else is held to the range.
    return std::isnan(value) ? 0.0f : std::clamp(value, -1.0f, 1.0f);
}

}  // namespace

HelmMouse HelmMouse::Read()
{
    HelmMouse mouse;
    QelMouse* source = gInputFactory ? gInputFactory->GetMouse() : nullptr;
    if (source == nullptr)
        return mouse;
    mouse.x = source->GetX(kLeftButton);
    mouse.y = source->GetY(kLeftButton);
    mouse.leftPressed = source->WasPressed(kLeftButton);
    mouse.leftDown = source->IsDown(kLeftButton);
    mouse.rightDown = source->IsDown(kRightButton);
    return mouse;
}

bool HelmMouse::Inside(const IntRect& rect) const
{
    return rect.left <= x && x <= rect.right && rect.top <= y && y <= rect.bottom;
}

SteeringDemands ReadSteeringDemands(const SpaceObject* ship)
{
    if (ship == nullptr)
        return {};
    return {HeldDemand(ReadFloat(ship->data_set, playership::kPlayerSYaw)),
            HeldDemand(ReadFloat(ship->data_set, playership::kPlayerSPitch)),
            HeldDemand(ReadFloat(ship->data_set, playership::kPlayerSRoll))};
}

float MoveToward(float value, float target, float step)
{
    if (value < target)
        return std::min(target, value + step);
    if (value > target)
        return std::max(target, value - step);
    return value;
}

float SteeringAxis(const char* axisName)
{
    float value = 0.0f;
    if (!theControllerInput.GetAxisValue(axisName, value) || std::isnan(value))
        return 0.0f;
    return std::clamp(value, -1.0f, 1.0f);
}

bool TakeSteeringSendSlot(HelmSteeringState& state)
{
    const SimulationClock* clock = CurrentSimulationClock();
    if (clock == nullptr || !state.sendTimer.IsExpired())
        return false;
    state.sendTimer.tick = clock->time_tick_counter + kSteeringSendTicks;
    state.sendTimer.generation = clock->generation;
    return true;
}

SteeringKeys SteeringKeys::Read(const std::string& context, bool withRoll)
{
    namespace vk = qel::vk;
    SteeringKeys keys;
    keys.up = isHotKeyHeld(context, "steer_up", vk::kUp, "turns the ship up");
    keys.down = isHotKeyHeld(context, "steer_down", vk::kDown, "turns the ship down");
    keys.left = isHotKeyHeld(context, "steer_left", vk::kLeft, "turns the ship left");
    keys.right = isHotKeyHeld(context, "steer_right", vk::kRight, "turns the ship right");
    if (withRoll) {
        keys.rollLeft = isHotKeyHeld(context, "roll_left", vk::kLetterA + ('Q' - 'A'), "rolls the ship left");
        keys.rollRight = isHotKeyHeld(context, "roll_right", vk::kLetterA + ('E' - 'A'), "rolls the ship right");
    }
    return keys;
}

void ViewHelmNormalDraw(ConsoleState& console, IntRect& rect, std::string widgetName)
{
    switch (console.settings.helmMode) {
    case 0: ViewHelmSimpleDraw(console, rect, widgetName); break;
    case 1: ViewHelmRestrained3DDraw(console, rect, widgetName); break;
    case 2: ViewHelmFree3DDraw(console, rect, widgetName); break;
    default: break;
    }
}

void ViewHelmMovementDraw(ConsoleState& console, IntRect& rect, std::string widgetName)
{
    ViewHelmNormalDraw(console, rect, widgetName);
}
