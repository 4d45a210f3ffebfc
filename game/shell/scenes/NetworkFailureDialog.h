#pragma once
// What the server's screens show instead of themselves when hosting could not
// start: why, and a "Back" that stops hosting and leaves the server role.

#include "game/render/manager/SceneFunction.h"

class UIContext;

// The dialog, drawn over the whole screen. The first scene after "Back",
// else the scene itself.
SceneFunction DrawNetworkFailureDialog(UIContext& ui, SceneFunction self);
