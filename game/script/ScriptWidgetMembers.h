#pragma once
// The family of script functions that place one retained widget each
// (send_gui_button and its sisters): how each member fills the widget's
// descriptor from its place, its rectangle and its style string. Every member
// reads its own keys and the common ones ("text", "font", "color",
// "draw_layer", "pixel_aligned") from the style, parsed into the global style
// parser, under its own context name, which documents the keys; the face
// takes a face description in place of a style.
//
// Main thread only: the global style parser is shared.

#include "game/guimodel/RetainedGUIWidget.h"

#include <array>
#include <string>

class KeyValueParser;

struct ScriptWidgetMember {
    // Reads a member's own keys into the descriptor.
    using ReadKeys = void (*)(KeyValueParser& style, const char* context, RetainedGUIWidget& widget);

    const char* function;  // the module function
    const char* doc;       // its documentation string
    const char* context;   // the context its keys are documented under
    const char* kind;      // the widget kind (retained_kind)
    bool styled;           // false: the fourth argument is a face description
    ReadKeys before;       // own keys read before the common ones, or null
    ReadKeys after;        // own keys read after them, or null
};

// The seventeen members, in the order of the module.
extern const std::array<ScriptWidgetMember, 17> kScriptWidgetMembers;

// Where a widget goes: its parent's tag (empty: the top level), its own tag
// and its rectangle (left, top, right, bottom; percent of the parent, or
// pixels with the style key "pixel_aligned").
struct ScriptWidgetPlace {
    std::string parentTag;
    std::string tag;
    std::array<float, 4> rect{};
};

// The member's descriptor: a new one of its kind at the place, filled from
// the style (or, for the face, the face description), the script side's
// fixed values included.
RetainedGUIWidget BuildScriptWidget(const ScriptWidgetMember& member, const ScriptWidgetPlace& place,
                                    const std::string& style);
