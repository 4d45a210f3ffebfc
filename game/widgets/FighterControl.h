#pragma once
// "fighter_control": the cockpit panel of a fighter the crew flies. It shows
// the bound steering keys, a speed bar, the fore and aft shield bars and
// eight buttons: three toggles (boost, thrust, shoot) and five one-shot
// actions (torpedo, dock, next torpedo type, eject, shield balance). Each
// button answers a click, its hot key and its controller action alike; every
// change is reported to the server once, in the frame it happens (the
// one-shots of the script's own buttons in the frame after).
//
// The button states are the console's (ConsoleState.h), shared by every
// "fighter_control" box, and the note of the input that acted last (lastInputKind) is shared
// with the full-3D helm: a key that is merely up does not undo a click.

#include "game/ui/IntRect.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>

class UIContext;

class ConsoleState;
class SpaceObject;

// The buttons, in the order they are drawn and reported.
enum class FighterButton { Boost, Thrust, Shoot, Torpedo, Dock, TorpType, Eject, ShldBalance, Count };
inline constexpr size_t kFighterButtonCount = static_cast<size_t>(FighterButton::Count);

struct FighterButtonState {
    int32_t value = 0;     // 1 on or pressed, 0 off
    int32_t previous = 0;  // the value last reported
    std::optional<int32_t> shipFlag;  // a toggle's flag in the ship as last read

    bool operator==(const FighterButtonState&) const = default;
};

struct FighterControlState {
    std::array<FighterButtonState, kFighterButtonCount> buttons{};
    // Controller actions of the one-shot buttons that were down last frame.
    std::array<bool, kFighterButtonCount> actionDown{};
    // On the server's own screen: the best speed seen of the ship of the id.
    uint64_t bestSpeedShip = 0;
    float bestSpeed = 0.0f;

    FighterButtonState& operator[](FighterButton button) { return buttons[static_cast<size_t>(button)]; }
    bool operator==(const FighterControlState&) const = default;
};

void ViewFighterControlDraw(ConsoleState& console, IntRect& rect, std::string widgetName);

// Reports every button whose value differs from the one last reported, and
// takes the values as reported. Without a ship nothing is reported and
// nothing taken, so the changes go out once a ship exists.
void FighterButtons(FighterControlState& panel, const SpaceObject* ship);

// "  STEER " and the full-3D helm's four steering keys, then on a second
// line "  ROLL " and its two roll keys.
std::string FighterSteerKeys();

// The name of the key bound to the hot key (its internal name, context and
// name joined by '_'), right-aligned in the bottom band of the rectangle.
void DrawKeyCaption(UIContext& ui, const IntRect& rect, const std::string& hotKeyName);
