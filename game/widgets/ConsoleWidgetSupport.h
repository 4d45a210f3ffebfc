#pragma once
// What the bridge widgets share: the mouse-over-control flag, the console's
// own ship, the input clock, centred text, one crew command sent with its
// interface sound, and the edge of a controller action.

#include "game/net/CorvaneClient.h"
#include "game/render/manager/SharedConsoleState.h"
#include "game/ui/GUISound.h"
#include "game/ui/IntRect.h"
#include "game/ui/UITextFit.h"

#include <glm/vec4.hpp>

#include <cstdint>
#include <string>

class UIContext;

class SpaceObject;

// The console's mouseOverControl lives in its shared part
// (game/render/manager/SharedConsoleState.h), where the 2D radar (below the
// widgets) reads and clears it too.

// The ship this console controls, or null: no world, no ship assigned, or an
// id that names no space object.
SpaceObject* ConsolePlayerShip();

// The console's own copy of its ship, where a widget may show a command at
// once before the server's answer comes back; null on the server's own
// screen, whose ship is the world itself and changes only by the signal.
SpaceObject* ConsoleShipCopy();

// The input service's milliseconds: the clock the widgets' timers run on.
uint32_t InputClockMilliseconds();

// The text centred in the rectangle, in the font of the preference tag.
void DrawCentredText(UIContext& ui, const std::string& fontTag, const IntRect& rect, const std::string& text,
                     const glm::vec4& colour, int layer, TextFlow flow = TextFlow::kWrap);

// A dim line across the middle of a widget that has nothing to show yet,
// saying what it will show, so that the box reads as waiting, not broken.
void DrawEmptyHint(UIContext& ui, const IntRect& rect, const std::string& hint, int layer);

// One of the preference list's standby texts, shown while a console has no
// ship: chosen at random, each about equally likely, when index is below 0,
// and kept in index from then on. Null while the list is empty.
const std::string* StandbyText(int32_t& index);

// A crew command: its interface sound, then the "signal" to the server.
template <typename Signal>
void SendWithSound(const std::string& soundEvent, const Signal& signal)
{
    PlayGUISound(soundEvent);
    SendSignal(signal);
}

// One controller action that counts once per press: Pressed is true in the
// frame the action goes down. While controllers are off it answers false and
// its edge stands still: a button held through that time does not count again.
class ControllerActionEdge {
public:
    explicit ControllerActionEdge(const char* actionName) : action(actionName) {}
    bool Pressed();

private:
    const char* action;
    bool wasDown = false;
};
