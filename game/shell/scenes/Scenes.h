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
//   SceneClientOptionsMode --"UI Play Options"--> SceneUIPlayOptionsMode --"Joystick"--> SceneJoystickTestMode
//   SceneClientOptionsMode --"Continue"--> the server screen that opened it, the console, or SceneFirstMode
//   SceneClientOptionsMode --"Game Data Edit Options"--> SceneDevToolsMode --a tool--> the tool's scene
//   each tool's scene --"Exit" or Escape--> SceneDevToolsMode --"Back"--> SceneClientOptionsMode
//
// A server screen whose network could not start shows only that, and its
// "Back" stops hosting and returns to the first scene.
//
// What the scenes share and keep from screen to screen lies in the shell's
// state (ShellState.h), which their host hands every call as the scene state.

#include "game/render/manager/SceneFunction.h"

// The start screen: start a server or a client.
SceneFunction SceneFirstMode(SceneEvent event, SceneState& scenes, RenderManager* view);
// A client finds its server: typed address or one found on the local network.
SceneFunction SceneClientConnectMode(SceneEvent event, SceneState& scenes, RenderManager* view);
// A connected bridge console: the boxes of the console's widgets.
SceneFunction SceneClientRunningMode(SceneEvent event, SceneState& scenes, RenderManager* view);
// The server's waiting room: choose and start a mission.
SceneFunction SceneServerSetupMode(SceneEvent event, SceneState& scenes, RenderManager* view);
// A mission on the server while its simulation is paused: the mission's own screens.
SceneFunction SceneServerRunningMode(SceneEvent event, SceneState& scenes, RenderManager* view);
// A mission on the server while its simulation runs: the server's own console.
SceneFunction SceneServerConsoleMode(SceneEvent event, SceneState& scenes, RenderManager* view);
// This machine's options: its name, the volumes, full screen, leaving.
SceneFunction SceneClientOptionsMode(SceneEvent event, SceneState& scenes, RenderManager* view);
// How this machine's consoles play: view settings, helm mode, damage flash.
SceneFunction SceneUIPlayOptionsMode(SceneEvent event, SceneState& scenes, RenderManager* view);
// The controller set-up screen.
SceneFunction SceneJoystickTestMode(SceneEvent event, SceneState& scenes, RenderManager* view);

// The developer tools: a menu of the tool and test scenes below.
SceneFunction SceneDevToolsMode(SceneEvent event, SceneState& scenes, RenderManager* view);
// The hulls in an orbiting view: sizes, ports, shield; mesh scale and port
// positions tuned and written back to the ship data.
SceneFunction SceneShipLibrarianMode(SceneEvent event, SceneState& scenes, RenderManager* view);
// The interior grid of each ship type that has one, with its size and symmetry stepped.
SceneFunction SceneHullPathTestMode(SceneEvent event, SceneState& scenes, RenderManager* view);
// One nebula volume or one gas giant with a slider for each of its parameters.
SceneFunction SceneNebulaEditMode(SceneEvent event, SceneState& scenes, RenderManager* view);
// The octree path search on two obstacle layouts, step by step.
SceneFunction ScenePathingTestMode(SceneEvent event, SceneState& scenes, RenderManager* view);
// The 3D view's super-hyper-warp screen with one ship after another.
SceneFunction SceneHyperspaceDemoMode(SceneEvent event, SceneState& scenes, RenderManager* view);
// A monster's model with the wiggle shader and its wiggle parameters.
SceneFunction SceneMonsterShaderMode(SceneEvent event, SceneState& scenes, RenderManager* view);
