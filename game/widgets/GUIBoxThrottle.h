#pragma once
// "throttle": the helm's speed control. A column of 20 segments the crew
// drags, a WARP check button on top (ships with a warp drive only), a REV
// button below, the ship's speed above the box; hot keys and a controller
// drive the same value. Values 0..1 are shares of full impulse (a controller
// may go down to -1 in reverse); 2..5 are warp levels 1..4. The throttle
// (signal 5) and reverse (signal 6) are each sent once the crew has left
// them alone for a moment, through their change trackers.

#include "game/ui/IntRect.h"
#include "game/widgets/ChangeTracker.h"

#include <cstdint>
#include <string>

class UIContext;

class ConsoleState;

// A controller button's edge from frame to frame.
struct ButtonEdge {
    int32_t edge = 0;  // +1 went down this frame, -1 went up, 0 no change
    bool lastState = false;

    void Update(bool down);
    bool operator==(const ButtonEdge&) const = default;
};

// One for the console: two throttle boxes share it.
struct ThrottleWidgetState {
    ButtonEdge reverseEdge;       // the controller action "Reverse"
    float lastAxis = 0.0f;        // the "Throttle" axis when the controller last took over
    float lastControllerValue = 0.0f;
    bool warpMode = false;
    bool dragging = false;        // a press began in the column and the button is still down
    bool controllerOwns = false;  // the controller set the value and keeps setting it
    bool controllerStep = false;  // its last command was a step, not the axis
    bool warpIncreaseLatch = false;
    bool warpDecreaseLatch = false;
    FloatChangeTracker throttle;
    FloatChangeTracker reverse;   // 0 off, 1 on

    bool operator==(const ThrottleWidgetState&) const = default;
};

void ViewThrottleDraw(ConsoleState& console, IntRect& rect, std::string widgetName);
void ViewThrottleDrawBody(ConsoleState& console, IntRect rect, const std::string& widgetName);
// Draws the column and answers a drag; true when a drag set the value.
bool ViewThrottleSlider(ConsoleState& console, const IntRect& slider, float& value);
// One segment at its share f (0..0.95) of the column.
void ViewThrottleDrawSegment(UIContext& ui, const ThrottleWidgetState& state, const IntRect& segment, float f,
                             float value);
