#pragma once
// What the scenes share for the whole run: the menu backdrop, the way back
// from the options when a server screen opened them, the connect scene's
// address field and the server's own address text. Main thread only.

#include "game/ui/Edline.h"
#include "game/render/manager/SceneFunction.h"

#include <glm/vec4.hpp>

#include <string>

class Qel2dBitmap;

// The menu background image, named by "gui-color-deep-background-image" and
// taken by the first scene on every enter; null when it does not load, and
// the backdrop is then the tint alone.
extern Qel2dBitmap* scmBackImage;
// Tint of the menu background: "gui-color-deep-background", or during red
// alert on a console "gui-color-red-alert".
extern glm::vec4 deepBackgroundColour;

// Set by a server screen that opens the options, which then return there.
extern bool optionsOpenedFromServer;
extern SceneFunction optionsReturnScene;

// A server screen's way to the options (with the interface's click): they
// return to that screen and leave out what only a console has.
SceneFunction OpenOptionsFromServer(SceneFunction returnScene);

// This machine's name on the server's screens, edited in the options.
extern Edline machineNameField;

// The address the connect scene connects to.
extern Edline connectAddressField;
// What the connect scene tells the user: that the server went away, or that
// an address names no host; empty for nothing.
extern std::string connectNotice;

// This machine's address on the local network, asked of the network service
// when a server starts; the server screens show it.
extern std::string serverAddressText;

// Sets the deep background colour from the colour preference; a text the
// colour parser cannot read leaves the colour as it was.
void ReadDeepBackgroundColour(const char* preference);

// The menu backdrop of every menu screen and of the server's console screen:
// the background image over the whole window, tinted with the deep
// background colour at layer 995, then a flush so that all drawn after it
// lies over it.
void DrawMenuBackdrop();
