#pragma once
// Engineering's two controls of the ship's systems:
//
// "eng_power_controls": eight power sliders, one per powered subsystem, from
// 0 % to 300 % with a wide detent at 100 %, each tied by a thin line in its
// system's colour to the heat column of the system it feeds. Space (the hot
// key "level_power") returns them all to 100 %.
//
// "eng_heat_controls": the four systems side by side or stacked, each with a
// row of coolant dots and its heat bar, which blinks red and sounds a warning
// while the system overheats. Enter ("level_coolant") takes all coolant off.
//
// Both hold the crew's settings in the engineering trackers (EngPresets.h)
// and send them as "signal" 31 (power) and 32 (coolant) once left alone; the
// server's replicated values come back as the trackers' server values.

#include "game/ui/IntRect.h"

#include <glm/vec2.hpp>
#include <glm/vec4.hpp>

#include <array>
#include <cstdint>
#include <string>

class UIContext;

class ConsoleState;
class SpaceObject;

struct EngSystem {
    const char* name;
    glm::vec4 colour;
};

// Weapons, engines, sensors, shields: the systems heat and coolant work on.
inline constexpr int32_t kEngSystemCount = 4;
inline constexpr std::array<EngSystem, kEngSystemCount> kEngSystems{{
    {"WEAPONS", {1.0f, 0.5f, 0.5f, 1.0f}},
    {"ENGINES", {0.5f, 1.0f, 0.5f, 1.0f}},
    {"SENSORS", {0.5f, 0.5f, 1.0f, 1.0f}},
    {"SHIELDS", {1.0f, 1.0f, 0.5f, 1.0f}},
}};

// The eight power sliders of the console.
inline constexpr int32_t kEngPowerControlCount = 8;

// What the two widgets share from frame to frame.
struct EngControlsState {
    // Where each system's heat column takes its connector lines; the heat
    // widget sets them, the power widget (drawn before or after it) reads them.
    std::array<glm::vec2, kEngSystemCount> anchors{};
    // The ship seen last, to log when the console's ship changes.
    const SpaceObject* lastShip = nullptr;
    // The overheat warning, one for all four systems: it sounds again once
    // nextTick is reached or in another run of the world.
    bool warningPlayed = false;
    int64_t warningNextTick = 0;
    uint64_t warningRun = 0;

    bool operator==(const EngControlsState&) const = default;
};

// The slider's travel for a power value and back: 0..1 below the detent
// (0.18), the detent 0.18..0.48 for 1.0, then up to 3.0 at the far end.
float PowerToSliderPosition(float power);
float SliderPositionToPower(float position);

// A share as the controls show it: 1.25 is "125%" (truncated).
std::string EngPercentText(float share);

void ViewEngPowerControlsDraw(ConsoleState& console, IntRect& rect, std::string widgetName);
// Power control i in its rectangle; reset sets it to 100 % this frame.
void ViewEngPowerControlsDrawBody(ConsoleState& console, int32_t control, const IntRect& rect, const SpaceObject* ship,
                                  bool reset);

void ViewEngHeatControlsDraw(ConsoleState& console, IntRect& rect, std::string widgetName);
// System e in its rectangle, with the coolant nobody uses and the dots' colours.
void ViewEngHeatControlsDrawBody(ConsoleState& console, int32_t system, const IntRect& rect, const SpaceObject* ship,
                                 int32_t freeCoolant, const glm::vec4& activeColour, const glm::vec4& reserveColour);

// A line from one point to another in the system's colour, dimmed: a
// diagonal leg (half as steep as wide), a straight run, and a diagonal leg
// into the end, drawn three times side by side so it reads as a band.
void DrawSystemConnector(UIContext& ui, int32_t x1, int32_t y1, int32_t x2, int32_t y2, int32_t system);
