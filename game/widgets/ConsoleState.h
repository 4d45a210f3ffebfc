#pragma once
// Everything this machine's console keeps from frame to frame: what it shares
// with the render manager (its name and widgets, the scan kind, the mouse
// hold), how it plays (the settings of the options screens), the layout of
// its boxes, the engineering presets, the comms and engineering info lists
// the mission sent and the state of every widget. The window program's
// screens own the one of this machine (BridgeScreens), which the console
// screen fills and the render manager draws for; it is handed to every
// widget drawn through the widget table, and to the scenes through the
// render manager; a widget keeps nothing of its own.
//
// A new world starts every widget afresh: the widgets' part becomes a newly
// made one, so no selection, scroll position, tracker or button of the old
// world is left. The console's choice, its settings, the layout of its boxes
// and the crew's presets (read from and written to their file) carry over.
//
// Main thread only.

#include "game/net/PresentationSignals.h"
#include "game/render/manager/SharedConsoleState.h"
#include "game/ui/ConsoleSettings.h"
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
    // The whole console state of which the shared part is a part; null for
    // a render manager's console of its own, which is no more than that part.
    static ConsoleState* Of(SharedConsoleState& shared);

    // A new world: the widgets start afresh, and so do the scan kind and the
    // mouse hold; the console, its settings, its box layout, the presets and
    // the info lists stay.
    void StartNewWorld();

    ConsoleSettings settings;
    GUIBoxEditState boxEdit;  // which layout shows, and the edit mode's drag
    EngineeringValueSet engineeringPresets;
    // The comms and engineering info lists, each entry in the order it came.
    std::vector<ConsoleInfoEntry> commsInfo;
    std::vector<ConsoleInfoEntry> engineeringInfo;
};
