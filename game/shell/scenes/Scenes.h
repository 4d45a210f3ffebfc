#pragma once
// The screens of the program, each a scene function (SceneFunction.h) that
// the render manager calls once per frame, tick and draw. How they lead to
// each other:
//
//   SceneFirstMode --"Start Server"--> SceneServerSetupMode --a mission starts--> SceneServerRunningMode
//   SceneServerRunningMode <--the mission's simulation runs / pauses--> SceneServerConsoleMode
//   SceneServerRunningMode --"Mission Select"--> SceneServerSetupMode --"Exit Server"--> SceneFirstMode
//   SceneFirstMode --"Start Client"--> SceneClientConnectMode --connected--> SceneClientRunningMode
//   SceneClientRunningMode --connection lost--> SceneClientConnectMode --"Cancel"--> SceneFirstMode
//
// A server screen whose network could not start shows only that, and its
// "Back" stops hosting and returns to the first scene.

#include "game/shell/SceneFunction.h"

// The start screen: start a server or a client.
SceneFunction SceneFirstMode(SceneEvent event);
// A client finds its server: typed address or one found on the local network.
SceneFunction SceneClientConnectMode(SceneEvent event);
// A connected bridge console: the boxes of the console's widgets.
SceneFunction SceneClientRunningMode(SceneEvent event);
// The server's waiting room: choose and start a mission.
SceneFunction SceneServerSetupMode(SceneEvent event);
// A mission on the server while its simulation is paused: the mission's own screens.
SceneFunction SceneServerRunningMode(SceneEvent event);
// A mission on the server while its simulation runs: the server's own console.
SceneFunction SceneServerConsoleMode(SceneEvent event);
