#pragma once
// The helm's steering widgets and what they share. Each turns the crew's
// mouse, keys and controller into three demands in -1..1 (yaw, pitch, roll)
// and sends them to the server, which stores them in the ship's keys
// "playerSYaw", "playerSPitch" and "playerSRoll"; every frame a widget starts
// from the values stored there. The host's own screen sends through the same
// path (the loopback of SendClientMessage), so it steers exactly as a console.
//
//   helm_simple         yaw and pitch, signal 8 every send slot
//   helm_restrained_3d  roll, pitch and yaw, signal 7 only on a change
//   helm_free_3d        full 3D with mouse, keys and stick, signal 9
//   helm_normal         whichever of the three the play options chose
//   helm_movement       the same, under its own hot-key context
//
// All three end with the attitude display (HelmAttitudeDisplay.cpp).

#include "game/ui/IntRect.h"
#include "game/world/SimulationTimer.h"

#include <string>

class UIContext;

class ConsoleState;
class RenderManager;
class SpaceObject;

struct SteeringDemands {
    float yaw = 0.0f;    // -1..1 of the full turn rate, + turns right
    float pitch = 0.0f;  // -1..1, + turns up
    float roll = 0.0f;   // -1..1

    bool operator==(const SteeringDemands&) const = default;
};

// One set for all steering widgets, not one per box: the console's.
struct HelmSteeringState {
    bool mouseDragging = false;  // helmMouseDragging: a steering drag is in progress
    float mouseSteerX = 0.0f;    // helmMouseSteerX: the last mouse position, -1..1
    float mouseSteerY = 0.0f;    // helmMouseSteerY
    simulationTimer sendTimer;   // helmSteerSendTimer: the earliest tick of the next signal; starts expired

    bool operator==(const HelmSteeringState&) const = default;
};

// The mouse as one frame of a steering widget sees it.
struct HelmMouse {
    int32_t x = 0, y = 0;
    bool leftPressed = false;  // went down this frame
    bool leftDown = false;
    bool rightDown = false;

    static HelmMouse Read();
    bool Inside(const IntRect& rect) const;
};

// The stored demands, 0 without a ship. Replicated values are held to -1..1,
// so a bad value from the server can never push a widget out of range.
SteeringDemands ReadSteeringDemands(const SpaceObject* ship);
// v moved by step toward target, never past it.
float MoveToward(float value, float target, float step);
// The value of a controller axis the crew mapped, or 0 when none is.
float SteeringAxis(const char* axisName);
// The send rule: steering signals leave at most every kSteeringSendTicks
// ticks from all steering widgets together. True when one may leave now
// (and the next slot is then booked).
bool TakeSteeringSendSlot(HelmSteeringState& state);

// The steering keys of all three widgets, held this frame.
struct SteeringKeys {
    bool up = false, down = false, left = false, right = false;
    bool rollLeft = false, rollRight = false;  // helm_free_3d only

    static SteeringKeys Read(const std::string& context, bool withRoll);
};

// The first steps of helm_simple and helm_restrained_3d: the mouse drag,
// the stored demands, the arrow keys ramping by keyStep and the stick's
// "Pitch" and "Yaw" past their dead zone.
SteeringDemands SteerYawAndPitch(ConsoleState& console, const IntRect& rect, const std::string& widgetName,
                                 float keyStep, const HelmMouse& mouse, const SpaceObject* ship);
// The stick's axis in place of the value when it lies past the dead zone of
// the two simpler helms.
float SteeringStickOver(float value, const char* axisName);

// The flattened radar disc with the objects around the ship and the
// heading, altitude and elevation read-outs; the rings only without a ship.
// The contacts take the colours of the render manager given (plain without).
void HelmHeadingDisplay(UIContext& ui, RenderManager* view, const SpaceObject* ship, const IntRect& rect);

void ViewHelmSimpleDraw(ConsoleState& console, IntRect& rect, std::string widgetName);
void ViewHelmRestrained3DDraw(ConsoleState& console, IntRect& rect, std::string widgetName);
void ViewHelmFree3DDraw(ConsoleState& console, IntRect& rect, std::string widgetName);
void ViewHelmNormalDraw(ConsoleState& console, IntRect& rect, std::string widgetName);
void ViewHelmMovementDraw(ConsoleState& console, IntRect& rect, std::string widgetName);
