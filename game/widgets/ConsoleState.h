#pragma once
// Everything this machine's console keeps from frame to frame: what it shares
// with the render manager (its name and widgets, the scan kind, the mouse
// hold), the layout of its boxes, the engineering presets and the state of
// every widget. The console screen owns the one of this machine
// (LocalConsoleScreen::State) and hands it to every widget it draws through
// the widget table; a widget keeps nothing of its own.
//
// A new world starts every widget afresh: the widgets' part becomes a newly
// made one, so no selection, scroll position, tracker or button of the old
// world is left. The console's choice, the layout of its boxes and the crew's
// presets (read from and written to their file) carry over.
//
// Main thread only.

#include "game/render/manager/SharedConsoleState.h"
#include "game/widgets/CommsWidgets.h"
#include "game/widgets/EngPresets.h"
#include "game/widgets/EngSystemControls.h"
#include "game/widgets/FighterControl.h"
#include "game/widgets/GUIBoxManager.h"
#include "game/widgets/GUIBoxThrottle.h"
#include "game/widgets/GridWidgets.h"
#include "game/widgets/HelmSteering.h"
#include "game/widgets/ShipDataWidget.h"
#include "game/widgets/ShipInternalView.h"
#include "game/widgets/SortedObjectList.h"
#include "game/widgets/StringChangeTracker.h"

#include <cstdint>
#include <string>
#include <vector>

// The widgets' own state, one of each however many boxes show the widget.
struct ConsoleWidgetStates {
    SortedListState sortedList;  // science and comms lists share filters, scroll and favourites
    CommsControlState commsControl;
    CommsWaterfallState commsWaterfall;
    InteriorViewState interiorView;  // every interior view and the hull-path test scene
    HelmSteeringState helmSteering;
    FighterControlState fighterControl;
    EngineeringTrackers engineeringTrackers;
    EngControlsState engControls;
    ThrottleWidgetState throttle;  // both throttle boxes
    GridObjectListState gridObjectList;
    ShipDataState shipData;
    StringChangeTracker selectedTorpedoType;  // the torpedo type chosen for loading
    // The frequency found weakest by the last drawing of "science_data_freq"; -1 none.
    int32_t weakestShieldFrequency = -1;
    // The science scans started where no client hears the server's queue.
    std::vector<ScanQueueEntry> scansWithoutClient;
    // The kind of input that acted last, "mouse", "joy", "key" or "button"
    // ("" none yet), shared by the full-3D helm and the fighter panel, so
    // whichever input the crew used last keeps the helm.
    std::string lastInputKind;

    bool operator==(const ConsoleWidgetStates&) const = default;
};

class ConsoleState : public SharedConsoleState, public ConsoleWidgetStates {
public:
    // A new world: the widgets start afresh, and so do the scan kind and the
    // mouse hold; the console, its box layout and the presets stay.
    void StartNewWorld();

    GUIBoxEditState boxEdit;  // which layout shows, and the edit mode's drag
    EngineeringValueSet engineeringPresets;
};
