#pragma once
// What the shell's scenes keep for as long as their host runs them: the menu
// backdrop, the way back from the options when a server screen opened them,
// the edit fields of this machine's name and of the address to connect to,
// what the connect scene tells the user, the server's own address, the
// missions a server can start with the state of their list, why the last
// mission start failed, the developer tools' orbit view, and the mission's
// retained screens on this machine's window.
//
// The window program makes one for the render manager, which hands it to
// every scene call (SceneState.h); a test makes a fresh one for the scenes
// it drives. Main thread only.

#include "game/render/manager/SceneFunction.h"
#include "game/shell/RetainedGUIScreen.h"
#include "game/shell/scenes/DevOrbitView.h"
#include "game/shell/scenes/MenuBackdrop.h"
#include "game/shell/scenes/MissionCatalogue.h"
#include "game/shell/scenes/MissionList.h"
#include "game/ui/Edline.h"
#include "game/ui/SceneState.h"

#include <string>

class ShellState : public SceneState {
public:
    // What an address may hold: a host name or a dotted IPv4 address with
    // room to spare.
    static constexpr int32_t kAddressCapacity = 64;
    static constexpr int32_t kAddressFieldId = 101;
    // A name the server's client list can show in full.
    static constexpr int32_t kMachineNameCapacity = 32;
    static constexpr int32_t kMachineNameFieldId = 102;

    ShellState();

    // The shell's state among what a host hands its scenes. A shell scene
    // run by a host made without it is a fault of the program.
    static ShellState& Of(SceneState& scenes);

    MenuBackdrop backdrop;

    // Set by a server screen that opens the options, which then return there.
    bool optionsOpenedFromServer = false;
    SceneFunction optionsReturnScene;

    // This machine's name on the server's screens, edited in the options.
    Edline machineNameField;
    // The address the connect scene connects to.
    Edline connectAddressField;
    // What the connect scene tells the user: that the server went away, or
    // that an address names no host; empty for nothing.
    std::string connectNotice;
    // This machine's address on the local network, asked of the network
    // service when a server starts; the server screens show it.
    std::string serverAddressText;

    // The missions of the last scan, and the set-up scene's list of them.
    MissionMap missions;
    MissionListState missionList;
    // Why the last mission start failed; empty after a start that worked.
    std::string missionStartError;

    // The camera of the developer tools with a 3D view; it keeps its place
    // between them.
    DevOrbitView orbitView;

    // The drawing of the mission's retained screens on this machine's window
    // (what they show is the console screen's retained GUI).
    RetainedGUIScreen retainedScreen;
};
