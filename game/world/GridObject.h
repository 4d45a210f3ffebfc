#pragma once
// One object on a ship's interior grid: a crew member, a fire, a repair party,
// whatever the mission makes it. It has a name, a tag and a broad type, a
// drawing layer, its keyed values (where it stands, where it goes and how
// fast) and the path it is walking, as (column, row) pairs taken from the
// front. Its hull map owns it.

#include "game/world/DataKey.h"
#include "game/world/ObjectDataBlob.h"

#include <cstdint>
#include <deque>
#include <string>

struct GridObject {
    uint64_t unique_ID = 0;  // bit 61 set: the grid-object kind of id
    std::string name;
    std::string tag;
    std::string type;        // broad type, chosen by the mission
    int32_t layer = 0;       // drawing order, 0 lowest
    ObjectDataBlob data_set;
    std::deque<int32_t> path;  // column, row, column, row, ... the next cell first
};

// The keyed values of a grid object that the grid's own step reads and writes,
// all at index 0 and documented as values written during play.
namespace gridobject {

// The destination a script asks for; -1 while no request is pending.
inline constexpr DataKey kPathX{"pathx", kPlayDoc};
inline constexpr DataKey kPathY{"pathy", kPlayDoc};
// The cell the object is moving to.
inline constexpr DataKey kCurX{"curx", kPlayDoc};
inline constexpr DataKey kCurY{"cury", kPlayDoc};
// The cell the object is moving from; a new path starts here.
inline constexpr DataKey kLastX{"lastx", kPlayDoc};
inline constexpr DataKey kLastY{"lasty", kPlayDoc};
// Float, 0..1: how far the object has come from the last cell to the current one.
inline constexpr DataKey kPercent{"percent", kPlayDoc};
// Float: progress added each tick (0.1 walks a cell in 10 ticks).
inline constexpr DataKey kMoveSpeed{"move_speed", kPlayDoc};
// Cells left on the path.
inline constexpr DataKey kPathLength{"path_length", kPlayDoc};

// What the consoles show of it, all set by the mission: its icon (a cell of
// the icon sheet, a colour text and a size in cells), its portrait (a face
// description), a text about it and its colour, a speech bubble and its
// colour, and the line the interior view's tool tip gives it.
inline constexpr DataKey kIconIndex{"icon_index", kPlayDoc};
inline constexpr DataKey kIconColor{"icon_color", kPlayDoc};
inline constexpr DataKey kIconScale{"icon_scale", kPlayDoc};
inline constexpr DataKey kFace{"face", kPlayDoc};
inline constexpr DataKey kInfoText{"info_text", kPlayDoc};
inline constexpr DataKey kInfoTextColor{"info_text_color", kPlayDoc};
inline constexpr DataKey kSpeechBubbleText{"speech_bubble_text", kPlayDoc};
inline constexpr DataKey kSpeechBubbleTextColor{"speech_bubble_text_color", kPlayDoc};
inline constexpr DataKey kToolTipCurText{"tool_tip_cur_text", kPlayDoc};

}  // namespace gridobject
