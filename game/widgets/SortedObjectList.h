#pragma once
// The scrollable list of space objects from which the science and comms
// consoles choose their target. Above the rows, filter tabs: "Active"
// (ships, stations, monsters), "Favorite", then one tab per side and one per
// origin ("-o") seen so far. Each row shows an object's name and hull side,
// a favourite star at its end, which consoles target it ("<wep", "<sci",
// "<com"), where it stands in the queue of scans, and the progress of the
// scan running on it. A click on a row, or Page Up / Page Down, selects the
// object for the console's target key; Home / End walk one exclusive filter
// along the tabs.
//
//   DrawSortedObjectList(console, rect, widgetName, "science_target_UID");
//
// The list state (the console's sortedList) is shared by every list widget
// of the console, so filters, scroll position and favourites carry over
// between them; a new world starts it afresh. The filter entries themselves
// are the world's (they go with a new game).

#include "game/ui/IntRect.h"

#include <cstdint>
#include <set>
#include <string>

class ConsoleState;
class SpaceObject;

struct SortedListState {
    int32_t currentFilter = 0;   // the filter tab chosen last (click or key); -1 none
    int32_t rowCount = 0;        // rows listed by the previous drawing: the scroll range
    float scroll = 1.0f;         // 0..1; 1 shows the top of the list
    std::set<uint64_t> favourites;  // object ids

    bool operator==(const SortedListState&) const = default;
};

// Draws the list inside rect (pixels) and answers its mouse and hot keys for
// this frame; widgetName is the hot keys' context, targetKey the player
// ship's value holding this console's target.
void DrawSortedObjectList(ConsoleState& console, const IntRect& rect, const std::string& widgetName,
                          const std::string& targetKey);

// Whether the object passes the enabled filter tabs: within each group
// (sides, origins) an enabled tab must name it, "Favorite" lets only
// favourites through and "Active" only ships, stations and monsters. An
// unscanned object matches no origin, as its origin is not known yet.
bool SortedObjectListFilters(const SortedListState& state, const SpaceObject& object, const std::string& side,
                             const std::string& origin, bool unscanned);
