#pragma once
// The communications console: "comms_sorted_list" picks the ship to talk to,
// "comms_face" shows that contact's portrait under the mission's heading,
// "comms_control" lists the command buttons the mission offers for the
// contact and sends the chosen one to the server, and "comms_waterfall"
// lists every message the ship has received, newest first. The mission fills
// the comms info list (heading first: text, colour, portrait; then one entry
// per button: label, colour, command text) and the world's comms messages.
//
// The scroll positions, the expanded message and the standby text are the
// console's (ConsoleState.h) and start afresh with a new world.

#include "game/ui/IntRect.h"

#include <cstdint>
#include <string>

class UIContext;

struct CommsMessageRecord;
class ConsoleState;

struct CommsControlState {
    float scroll = 1.0f;     // 0..1; 1 shows the first button at the top
    int32_t entryCount = 0;  // button entries counted by the last frame: the scroll range

    bool operator==(const CommsControlState&) const = default;
};

struct CommsWaterfallState {
    static constexpr float kMaxScroll = 1000.0f;
    static constexpr int32_t kNone = -1;

    float scroll = kMaxScroll;        // 0..1000; 1000 shows the newest message at the top
    int32_t totalHeight = 0;          // the rows' height at the last frame
    int32_t expanded = kNone;         // index of the message shown whole
    int32_t hovered = kNone;          // index of the message under the mouse this frame
    bool starHovered = false;         // the mouse is on the hovered row's star corner
    IntRect lastBox{0, 0, 0, 0};      // the box the messages were measured for
    bool dragging = false;
    float dragStartScroll = 0.0f;
    int32_t dragStartY = 0;
    int64_t youngestAge = 0;          // ticks since the newest message came
    int32_t standbyIndex = kNone;     // the standby text shown without a ship, once chosen

    bool operator==(const CommsWaterfallState&) const = default;
};

void ViewCommsControlDraw(ConsoleState& console, IntRect& rect, std::string widgetName);
void ViewCommsFaceDraw(ConsoleState& console, IntRect& rect, std::string widgetName);
void ViewCommsSortedListDraw(ConsoleState& console, IntRect& rect, std::string widgetName);
void ViewCommsWaterfallDraw(ConsoleState& console, IntRect& rect, std::string widgetName);

// The message laid out at the width: its body in "gui-1", a line for the
// title and a margin. Without the font the height stays unmeasured (0).
void MeasureCommsMessage(UIContext& ui, CommsMessageRecord& message, int32_t width);
