// "helm_restrained_3d": yaw, pitch and roll for capital ships, which the ship
// itself pulls back towards the galactic plane. Steers as helm_simple with a
// gentler key ramp; roll comes only from the stick (or stays as stored while
// the mouse holds the stick), and a signal leaves only when a demand changed.

#include "game/net/CorvaneClient.h"
#include "game/widgets/ConsoleState.h"
#include "game/widgets/ConsoleWidgetSupport.h"
#include "game/widgets/HelmSteering.h"

namespace {

// Three frames from centre to full: a capital ship turns deliberately.
constexpr float kKeyStep = 0.4f;

}  // namespace

void ViewHelmRestrained3DDraw(ConsoleState& console, IntRect& rect, std::string widgetName)
{
    UIContext& ui = console.UI();
    const SpaceObject* ship = ConsolePlayerShip();
    const HelmMouse mouse = HelmMouse::Read();
    const SteeringDemands stored = ReadSteeringDemands(ship);
    SteeringDemands demands = SteerYawAndPitch(console, rect, widgetName, kKeyStep, mouse, ship);
    demands.roll = mouse.leftDown ? stored.roll : 0.0f;
    demands.roll = SteeringStickOver(demands.roll, "Roll");
    if (demands != stored && TakeSteeringSendSlot(console.helmSteering))
        SendSignal(SteerSignal{demands.roll, demands.pitch, demands.yaw});
    HelmHeadingDisplay(ui, console.renderer, ship, rect);
}
