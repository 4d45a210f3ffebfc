#pragma once
// The server's own screen as the mission's functions reach it: a script that
// addresses client 0 changes what the server machine shows instead of
// telling a console. It is the console screen (widgets, boxes, speech
// bubbles, text and info lists, views, particles, effects): what a console
// shows for the server's signals, the server machine shows for its mission.
// The shell, the renderer and the console widgets implement it; this base is
// the headless server's screen, which shows nothing, so every call does
// nothing and every query answers empty (halvex-server's quiet screen keeps
// what missions ask back), the retained GUI and the story dialogs included.
//
// Main thread only, inside a script call.

#include "game/net/ConsoleScreen.h"

class ServerScreen : public ConsoleScreen {};
