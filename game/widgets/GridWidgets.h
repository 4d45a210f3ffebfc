#pragma once
// The engineering console's widgets for the grid objects inside the ship
// (damage-control teams and whatever else the mission walks on the interior
// grid):
//   "grid_object_list": type filters over a scrolling list of the grid
//     objects of the interior view's ship; a click chooses one, which the
//     list shows at once and proposes to the server (signal 46) a moment
//     later; the server's choice ("grid_selected_UID") shows again after a
//     while if it did not take the proposal.
//   "grid_face": the chosen object's name, portrait, icon and info text.
//   "grid_control": the command buttons the mission offers (the engineering
//     info list: a header, then one entry per button), each with a digit hot
//     key; a press sends the button's tag for the ship and its chosen object
//     (signal 48).

#include "game/render/manager/ClickTimer.h"
#include "game/ui/IntRect.h"

#include <string>

class ConsoleState;

struct GridObjectListState {
    static constexpr float kScrollTop = 1000.0f;  // the start of the list; 0 its end

    float scroll = kScrollTop;  // 0..kScrollTop
    ClickTimer selection;       // the grid object shown as chosen

    bool operator==(const GridObjectListState&) const = default;
};

void ViewGridObjectListDraw(ConsoleState& console, IntRect& rect, std::string widgetName);
void ViewGridFaceDraw(ConsoleState& console, IntRect& rect, std::string widgetName);
void ViewGridControlDraw(ConsoleState& console, IntRect& rect, std::string widgetName);
