#pragma once
// Small layout helpers the scenes share.

#include "game/net/CorvaneClient.h"
#include "game/net/SignalMessage.h"
#include "game/render/manager/SceneFunction.h"

#include <cstdint>
#include <string>

class UIContext;

class ConsoleState;
class CorvaneServer;
class RenderManager;
class RetainedGUIScreen;
class ShellState;

// The current interface rectangle becomes the column 140 pixels wide centred
// on x, from top to bottom: (x - 70, top, x + 70, bottom).
void SetButtonColumn(UIContext& ui, int32_t x, int32_t top, int32_t bottom);

// Whether the network statistics (F9) lie over this machine's screen: a
// console then shows only its 3D views beneath them, so every click on them
// is theirs. The render manager given shows them (none: nothing does).
bool NetworkStatsShown(const RenderManager* view);

// The whole console the render manager draws for (ConsoleState.h): this
// machine's console, with its settings, presets and widgets. Null without a
// render manager, or for one drawing for a console of its own.
ConsoleState* SceneConsole(const RenderManager* view);
// This process's client and server as the render manager was handed them;
// null without a render manager or without that end.
CorvaneClient* SceneClient(const RenderManager* view);
CorvaneServer* SceneServer(const RenderManager* view);
// The console's engineering presets, read from their file as a console scene
// starts and written back as it ends; nothing without a console.
void LoadConsolePresets(RenderManager* view);
void SaveConsolePresets(RenderManager* view);

// The boxes of this machine's console in its widget list's order, then the
// edit mode that moves them; no widgets yet: nothing. Under the network
// statistics only the "3dview" boxes, and no editing.
void DrawConsoleScreenBoxes(RenderManager* view);

// The mission's own screens over a console (the retained GUI of this
// machine's screen, drawn by the screen given), with their hot keys; hidden
// under the network statistics.
void DrawConsoleMissionScreens(UIContext& ui, RetainedGUIScreen& screen, const RenderManager* view);

// A server screen's way to the options (with the interface's click): they
// return to that screen and leave out what only a console has.
SceneFunction OpenOptionsFromServer(ShellState& shell, SceneFunction returnScene);

// A console's "Options" button in the top-left corner, and its hot key
// (asked every frame); true when either was used. The button shows unless the
// network statistics cover the screen, or the mission made it transparent or
// the screen shows a cinematic view (cinematic); then it shows only while the
// pointer is over its place. The hot key works either way.
bool ConsoleOptionsAsked(UIContext& ui, const RenderManager* view, bool cinematic);

// While the world is paused, a console says so at the top of its screen,
// over its widgets and taking no clicks.
void DrawPausedNotice(UIContext& ui);

// A tool scene's way back to the developer tools: its "Exit" button (font
// "gui-1") in the current rectangle, or Escape. True, with the click's
// sound, when either was used this frame.
bool DevToolExit(UIContext& ui, int32_t id);

// The developer tools' Exit column: {W - 200, 2, W - 2, 35}.
void SetDevToolButtonColumn(UIContext& ui);

// A row of the current rectangle: a left arrow (id), the label and value
// centred in font "gui-1", a right arrow (id + 1). The value moves by one per
// click, without bounds; true when it changed.
bool uiValueStepper(UIContext& ui, int32_t id, int32_t& value, const std::string& label);

// The hull path test's grid made again for the ship key from the render
// manager's draw data and its record (as the steppers left it); nothing
// without either.
void RebuildTestHullPathSet(RenderManager* renderer, std::string shipKey);
