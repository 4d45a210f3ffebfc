// Entry of the game program: the system object opens the window and brings up
// the engine, with graphics on OpenGL; the game loop drives the game's
// singletons every frame. The program reads no command line.

#include <cstdio>
#include <cstdlib>
#include <exception>
#include <memory>

#include "engine/base/QelDataFolder.h"
#include "engine/gl/GLQelGraphicsClass.h"
#include "engine/sdl/GLQELSystemClass.h"
#include "engine/sdl/QelSDLMessageBox.h"
#include "game/net/LanServerDiscovery.h"
#include "game/shell/HalvexGameLoop.h"
#include "game/shell/scenes/Scenes.h"
#include "game/shell/scenes/ShellState.h"
#include "game/ui/SceneHost.h"
#include "game/widgets/BridgeScreens.h"

namespace {

// $QEL_DISCOVERY ("ADDRESS:PORT") keeps server discovery where the
// whole-program tests want it: on loopback, on a port of their own.
void PointDiscovery()
{
    const char* text = std::getenv("QEL_DISCOVERY");
    if (text != nullptr && !SetDiscoveryEndpoint(LanServerDiscovery::Instance(), text))
        std::fprintf(stderr, "QEL_DISCOVERY \"%s\" is not ADDRESS:PORT; discovery stays on the local network\n",
                     text);
}

}  // namespace

int main()
{
    PointDiscovery();
    // Without its data the game could show nothing but a cascade of missing
    // files; one clear line says where it looked instead.
    if (!qel::HoldsGameData(qel::DataFolder())) {
        ShowSDLMessageBox("Startup", qel::MissingDataFolderText(), QelMessageBoxKind::Error, nullptr);
        return EXIT_FAILURE;
    }
    HalvexGameLoop::Options options;
    options.makeSceneHost = [](const GameNetwork& network) {
        return MakeBridgeScreens(SceneFirstMode, std::make_unique<ShellState>(), network);
    };
    HalvexGameLoop game(options);
    GLQELSystemClass system(game, [](const QelWindowSize& size, QelSystemServices& services) {
        return std::make_unique<GLQelGraphicsClass>(size, &services);
    });
    // The run loop catches what the game throws; this catches a failure of the
    // start-up itself, so the services are still taken down in order.
    bool clean = false;
    try {
        clean = system.Initialize() && system.Run();
    } catch (const std::exception& error) {
        ShowSDLMessageBox("Error", error.what(), QelMessageBoxKind::Error, system.Window());
    }
    system.Shutdown();
    return clean ? EXIT_SUCCESS : EXIT_FAILURE;
}
