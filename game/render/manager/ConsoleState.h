#pragma once
// Which console this machine shows: its name (empty until the server names
// it; the server's own screen takes it from the mission) and its widgets in
// drawing order, and the widget whose box is being drawn. The console boxes
// draw by them, the render manager chooses by the name what the screen
// hears, and widgets that must know their box read the widget name.
// Main thread only.

#include "game/net/SignalMessage.h"

#include <glm/vec3.hpp>

#include <cstdint>
#include <string>
#include <vector>

extern std::string consoleName;
extern std::vector<std::string> consoleWidgetList;
extern std::string currentWidgetName;

// The kind of scan the science officer chose with the tabs ("scan",
// "status", ...), which the science widgets show; empty until a tab is
// chosen, kept across missions; a radar selection sets it to "scan".
extern std::string currentScienceScanType;

// Set by a console control that handles the mouse itself while the mouse
// lies over it; the 2D radar starts no selection while it is set and clears
// it in a frame in which the left button is up.
extern bool mouseOverControl;

// Whether the widget edit mode's hot key (GUI_WIDGET control, numeric minus)
// is held; widgets keep their mouse controls still while it is.
bool IsWidgetEditKeyHeld();

// The selection this console sends (signal 13) when a widget picks an
// object: the console and widget that chose it, the ship's key the choice
// goes to and where the pick was made.
SelectObjectSignal ConsoleSelection(uint64_t objectId, const glm::vec3& point, const std::string& selectionKey,
                                    const std::string& sourceTag);
