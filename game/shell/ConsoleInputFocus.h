#pragma once
// Two process-wide notes the console controls leave for each other.
//
// mouseOverControl: the mouse lies over a control that handles the mouse
// itself (a steering widget, the throttle column, the main-screen control).
// Those controls set it every frame the mouse is over them; the 2D radar
// starts no selection while it is set and clears it in a frame in which the
// left button is not held. Nothing else clears it.
//
// lastInputKind: the kind of input that acted last, "mouse", "joy", "key" or
// "button" ("" at start); shared by the full-3D helm and the fighter control.

#include <string>

extern bool mouseOverControl;
extern std::string lastInputKind;
