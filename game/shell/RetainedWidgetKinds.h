#pragma once
// How each kind of retained widget draws: the immediate-mode control it
// stands for, with the widget's fields as the control's arguments, and
// whether the crew acted on it this frame. RetainedGUIScreen walks the tree,
// places each widget and looks its kind up here; a kind not in the table
// draws nothing and takes no id.
//
//   kind            control                                     acts when
//   button          uiButton                                    clicked
//   rawiconbutton   uiIconButton over a shadow of its icon      clicked
//   clickregion     uiFourStringButton (fill colour: data)      clicked
//   typein          uiTextBox on the tag's edit field           the text changed, or Enter
//   dropdown        uiDropDown of data's '^'-separated rows     a row was chosen
//   checkbox        uiCheckButton (the click leaves ticked)     clicked
//   colorbutton     uiColorButton, state 0                      clicked
//   iconbutton      uiIconButtonByName, state 0                 clicked
//   colorcheckbox   uiColorButton, lit while ticked             clicked
//   iconcheckbox    uiIconButtonByName, lit while ticked        clicked
//   slider          uiSlider, mode data                         at most every 5 ticks of a drag, and its end
//   text            the text, aligned by index (0 left, 1 centred, 2 right)
//   face            the portrait of the face description text
//   3dship          the ship type of text, turning
//   icon            an icon of the sheet over its shadow
//   bitmap          the bitmap named data, whole or its source rectangle
//   subregion       the parent of the widgets below it

#include <cstdint>
#include <string>

#include "game/ui/IntRect.h"

class RetainedGUIScreen;
struct RetainedGUIWidget;
struct RetainedLayoutContext;

// One widget being drawn.
struct RetainedWidgetDraw {
    RetainedGUIScreen& screen;
    RetainedLayoutContext& context;
    RetainedGUIWidget& widget;  // the controls write what the crew changes into it
    IntRect rect;               // its place; also the current rectangle
    std::string font;           // its font tag, else "gui-2"
    int layer = 0;              // its layer, else 1002
    int32_t id = 0;             // interactive kinds: its id of the walk
};

struct RetainedKind {
    const char* name;
    bool interactive;  // takes an id of the walk
    bool clicks;       // plays "gui_button" as it acts
    bool tinted;       // its colour is the control's next-control colour (the label's)
    bool (*draw)(RetainedWidgetDraw& draw);  // true when the crew acted on it
};

// The kind of that name exactly; null for any other.
const RetainedKind* FindRetainedKind(const std::string& name);
