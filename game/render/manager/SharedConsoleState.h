#pragma once
// What this machine's console shares between its widgets and the render
// manager: which console it is (its name, empty until the server names it;
// the server's own screen takes it from the mission), its widgets in drawing
// order, the widget whose box is being drawn, the science officer's kind of
// scan, whether a console control holds the mouse, and the network ends the
// console speaks through. It is part of the
// console's state (game/widgets/ConsoleState.h), which the console screen
// owns; the render manager draws for it and, while it lives, is known to it.
// Main thread only.

#include "game/net/GameNetwork.h"
#include "game/net/SignalMessage.h"
#include "game/ui/UIContext.h"

#include <glm/vec3.hpp>

#include <cstdint>
#include <string>
#include <vector>

class RenderManager;

struct SharedConsoleState {
    // A console's whole state extends this part (ConsoleState::Of finds it).
    virtual ~SharedConsoleState() = default;

    std::string consoleName;
    std::vector<std::string> consoleWidgetList;
    std::string currentWidgetName;

    // The kind of scan the science officer chose with the tabs ("scan",
    // "status", ...), which the science widgets show; empty until a tab is
    // chosen; a radar selection sets it to "scan".
    std::string currentScienceScanType;

    // Set by a console control that handles the mouse itself while the mouse
    // lies over it; the 2D radar starts no selection while it is set and
    // clears it in a frame in which the left button is up.
    bool mouseOverControl = false;

    // The render manager drawing for this console, set while it lives; null
    // for a console no render manager draws (a widget drawn on its own).
    RenderManager* renderer = nullptr;

    // The process's client and server this console speaks through, set by
    // the owner of its screens; null ends for a console drawn on its own.
    GameNetwork network;

    // The interface context of the window the console is drawn in: the
    // render manager drawing for it frames it, and the widgets draw their
    // controls through it.
    UIContext& UI() { return theUIContext; }

    bool operator==(const SharedConsoleState&) const = default;
};

// Whether the widget edit mode's hot key (GUI_WIDGET control, numeric minus)
// is held; widgets keep their mouse controls still while it is.
bool IsWidgetEditKeyHeld();

// The selection the console sends (signal 13) when a widget picks an object:
// the console and widget that chose it, the ship's key the choice goes to and
// where the pick was made.
SelectObjectSignal ConsoleSelection(const SharedConsoleState& console, uint64_t objectId, const glm::vec3& point,
                                    const std::string& selectionKey, const std::string& sourceTag);
