// "helm_simple": yaw and pitch only, for beginners. A drag in the widget
// steers by where the mouse is; the arrow keys ramp quickly and spring back
// to straight ahead once released; a stick past its dead zone takes over.

#include "game/net/CorvaneClient.h"
#include "game/widgets/ConsoleState.h"
#include "game/widgets/ConsoleWidgetSupport.h"
#include "game/widgets/HelmSteering.h"

#include <algorithm>
#include <cmath>

namespace {

// One press covers most of the range at once: beginners feel it answer.
constexpr float kKeyStep = 0.7f;
// A stick resting this close to centre leaves the demand alone.
constexpr float kStickDeadZone = 0.15f;

// -1 at the near edge to +1 at the far one; 0 for an edge of no length.
float MapAcross(int32_t position, int32_t low, int32_t high)
{
    if (high <= low)
        return 0.0f;
    return std::clamp(2.0f * static_cast<float>(position - low) / static_cast<float>(high - low) - 1.0f, -1.0f, 1.0f);
}

// Steps 1 and 2: a press inside starts a drag that lasts while the left
// button is held; the mouse position is kept while it is inside.
void TrackMouse(ConsoleState& console, const HelmMouse& mouse, const IntRect& rect)
{
    HelmSteeringState& state = console.helmSteering;
    if (mouse.Inside(rect)) {
        console.mouseOverControl = true;
        state.mouseSteerX = MapAcross(mouse.x, rect.left, rect.right);
        state.mouseSteerY = MapAcross(mouse.y, rect.top, rect.bottom);
        if (mouse.leftPressed)
            state.mouseDragging = true;
    }
    if (!mouse.leftDown)
        state.mouseDragging = false;
}

// Step 5: a held key drives toward its end; none drives back to centre
// unless the mouse holds the stick.
float KeyRamp(float value, bool positive, bool negative, bool leftDown, float step)
{
    if (positive)
        return MoveToward(value, 1.0f, step);
    if (negative)
        return MoveToward(value, -1.0f, step);
    return leftDown ? value : MoveToward(value, 0.0f, step);
}

}  // namespace

float SteeringStickOver(float value, const char* axisName)
{
    const float axis = SteeringAxis(axisName);
    return std::fabs(axis) > kStickDeadZone ? axis : value;
}

// The shared first steps of the simple and the restrained helm: mouse, the
// stored demands, the drag, the arrow keys at the widget's step and the stick.
SteeringDemands SteerYawAndPitch(ConsoleState& console, const IntRect& rect, const std::string& widgetName,
                                 float keyStep, const HelmMouse& mouse, const SpaceObject* ship)
{
    TrackMouse(console, mouse, rect);
    SteeringDemands demands = ReadSteeringDemands(ship);
    const HelmSteeringState& state = console.helmSteering;
    if (state.mouseDragging) {
        demands.yaw = state.mouseSteerX;
        demands.pitch = state.mouseSteerY;
    }
    const SteeringKeys keys = SteeringKeys::Read(widgetName, false);
    demands.yaw = KeyRamp(demands.yaw, keys.right, keys.left, mouse.leftDown, keyStep);
    demands.pitch = KeyRamp(demands.pitch, keys.up, keys.down, mouse.leftDown, keyStep);
    demands.pitch = SteeringStickOver(demands.pitch, "Pitch");
    demands.yaw = SteeringStickOver(demands.yaw, "Yaw");
    return demands;
}

void ViewHelmSimpleDraw(ConsoleState& console, IntRect& rect, std::string widgetName)
{
    UIContext& ui = console.UI();
    const SpaceObject* ship = ConsolePlayerShip();
    const SteeringDemands demands = SteerYawAndPitch(console, rect, widgetName, kKeyStep, HelmMouse::Read(), ship);
    if (TakeSteeringSendSlot(console.helmSteering))
        SendSignal(Steer2DSignal{demands.yaw, demands.pitch});
    HelmHeadingDisplay(ui, console.renderer, ship, rect);
}
