// "helm_free_3d": full 3D steering for ships that fly free of the plane.
// Whichever input acted last owns the demands (lastInputKind): a drag that
// began in the widget steers pitch and yaw (roll with the right button held)
// and lets go to straight ahead; keys ramp and relax; a stick pushed past
// kStickTakeOver takes over and is followed exactly. The demands are kept in
// the console's copy of the ship so they ramp frame by frame between the
// server's updates.

#include "game/behaviours/PlayerShipKeys.h"
#include "game/net/ClientSignalHandlers.h"
#include "game/net/CorvaneClient.h"
#include "game/widgets/ConsoleState.h"
#include "game/widgets/ConsoleWidgetSupport.h"
#include "game/widgets/HelmSteering.h"
#include "game/world/SpaceObject.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr float kKeyStep = 0.4f;
// A stick must be pushed this far before it takes the helm from the mouse or
// the keys; once it has, it is followed with no dead zone.
constexpr float kStickTakeOver = 0.5f;

constexpr const char* kMouse = "mouse";
constexpr const char* kKey = "key";
constexpr const char* kJoy = "joy";

// 0..1 across the edge, held to the widget while the drag wanders outside.
float ShareAcross(int32_t position, int32_t low, int32_t high)
{
    if (high <= low)
        return 0.5f;
    return std::clamp(static_cast<float>(position - low) / static_cast<float>(high - low), 0.0f, 1.0f);
}

// Steps 1 and 2.
void TrackMouse(ConsoleState& console, const HelmMouse& mouse, const IntRect& rect)
{
    HelmSteeringState& state = console.helmSteering;
    if (mouse.Inside(rect)) {
        console.mouseOverControl = true;
        if (mouse.leftPressed)
            state.mouseDragging = true;
        if (mouse.leftDown && state.mouseDragging)
            console.lastInputKind = kMouse;
    }
    if (!mouse.leftDown) {
        state.mouseDragging = false;
        return;
    }
    if (state.mouseDragging) {
        state.mouseSteerX = 1.0f - 2.0f * ShareAcross(mouse.x, rect.left, rect.right);
        state.mouseSteerY = 2.0f * ShareAcross(mouse.y, rect.top, rect.bottom) - 1.0f;
    }
}

// Step 4: the mouse owns the helm while it drags; letting go is straight ahead.
void ApplyMouse(const ConsoleState& console, SteeringDemands& demands, const HelmMouse& mouse)
{
    const HelmSteeringState& state = console.helmSteering;
    if (console.lastInputKind != kMouse)
        return;
    if (!state.mouseDragging) {
        demands = {};
        return;
    }
    demands.pitch = state.mouseSteerY;
    if (mouse.rightDown)
        demands.roll = state.mouseSteerX;
    else
        demands.yaw = -state.mouseSteerX;
}

// positive drives to +1, negative to -1, neither relaxes toward 0 when asked.
float KeyAxis(std::string& inputKind, float value, bool positive, bool negative, bool relax)
{
    if (positive || negative)
        inputKind = kKey;
    if (positive)
        return MoveToward(value, 1.0f, kKeyStep);
    if (negative)
        return MoveToward(value, -1.0f, kKeyStep);
    return relax ? MoveToward(value, 0.0f, kKeyStep) : value;
}

// Step 6 (HelmFree3DSteerKeys): "roll_right" rolls toward -1.
void HelmFree3DSteerKeys(std::string& inputKind, SteeringDemands& demands, const std::string& context,
                         const HelmMouse& mouse)
{
    const bool relax = inputKind == kKey && !mouse.leftDown;
    const SteeringKeys keys = SteeringKeys::Read(context, true);
    demands.pitch = KeyAxis(inputKind, demands.pitch, keys.up, keys.down, relax);
    demands.yaw = KeyAxis(inputKind, demands.yaw, keys.right, keys.left, relax);
    demands.roll = KeyAxis(inputKind, demands.roll, keys.rollLeft, keys.rollRight, relax);
}

// Step 7.
void ApplyStick(std::string& inputKind, SteeringDemands& demands)
{
    const SteeringDemands stick{SteeringAxis("Yaw"), SteeringAxis("Pitch"), SteeringAxis("Roll")};
    if (std::fabs(stick.roll) > kStickTakeOver || std::fabs(stick.pitch) > kStickTakeOver ||
        std::fabs(stick.yaw) > kStickTakeOver)
        inputKind = kJoy;
    if (inputKind == kJoy)
        demands = stick;
}

// Step 11: a console keeps its demands in its copy of the ship, which the
// server's next update overwrites. The host's copy is the world itself, which
// only the server's handling of the signal changes.
void KeepDemands(SpaceObject* ship, const SteeringDemands& demands)
{
    if (ship == nullptr || HostsAuthoritativeWorld())
        return;
    WriteFloat(ship->data_set, playership::kPlayerSYaw, demands.yaw);
    WriteFloat(ship->data_set, playership::kPlayerSPitch, demands.pitch);
    WriteFloat(ship->data_set, playership::kPlayerSRoll, demands.roll);
}

}  // namespace

void ViewHelmFree3DDraw(ConsoleState& console, IntRect& rect, std::string widgetName)
{
    UIContext& ui = console.UI();
    SpaceObject* ship = ConsolePlayerShip();
    const HelmMouse mouse = HelmMouse::Read();
    TrackMouse(console, mouse, rect);
    SteeringDemands demands = ReadSteeringDemands(ship);
    ApplyMouse(console, demands, mouse);
    HelmFree3DSteerKeys(console.lastInputKind, demands, widgetName, mouse);
    ApplyStick(console.lastInputKind, demands);
    if (TakeSteeringSendSlot(console.helmSteering))
        SendSignal(SteerFreeSignal{demands.roll, demands.pitch, demands.yaw});
    HelmHeadingDisplay(ui, console.renderer, ship, rect);
    KeepDemands(ship, demands);
}
