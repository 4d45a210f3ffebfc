#pragma once
// The window program's screens: this machine's console state and the console
// screen that fills it, opened to the server's notices (through the client)
// and to the mission (as the server's own screen), and the render manager
// drawing for that console, which runs the scenes. It owns all three, and so
// outlives the scenes: the render manager goes first, leaving its scene while
// the console still exists, then the screen is taken back from the client and
// the mission. The render manager hands the scenes' state to every scene.
//
//   HalvexGameLoop::Options options;
//   options.makeSceneHost = [](const GameNetwork& network) {
//       return MakeBridgeScreens(SceneFirstMode, std::make_unique<ShellState>(), network);
//   };

#include "game/net/GameNetwork.h"
#include "game/render/manager/SceneFunction.h"
#include "game/ui/SceneHost.h"
#include "game/widgets/ConsoleState.h"
#include "game/widgets/LocalConsoleScreen.h"

#include <memory>

class RenderManager;
class SceneState;

class BridgeScreens : public SceneHost {
public:
    // Reads the console layout back from its file and opens the screen to
    // the process's client and mission; the console speaks through the
    // network ends given, which outlive the screens. The render manager will
    // enter the first scene at its set-up.
    BridgeScreens(SceneFunction firstScene, std::unique_ptr<SceneState> scenes, const GameNetwork& network);
    ~BridgeScreens() override;
    BridgeScreens(const BridgeScreens&) = delete;
    BridgeScreens& operator=(const BridgeScreens&) = delete;

    void Setup() override;
    void SetupFirstScreen() override;
    void FrameUpdate() override;
    void SimTick() override;
    void Draw() override;

    ConsoleState& Console() { return console; }
    LocalConsoleScreen& Screen() { return screen; }

private:
    ConsoleState console;
    LocalConsoleScreen screen{console};
    std::unique_ptr<RenderManager> view;
};

// The screens as the game loop takes them.
std::unique_ptr<SceneHost> MakeBridgeScreens(SceneFunction firstScene, std::unique_ptr<SceneState> scenes,
                                             const GameNetwork& network);
