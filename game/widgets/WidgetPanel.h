#pragma once
// The panel a console widget sits on: the interface's frame in the panel
// colour of the play options, kept a few pixels inside the box so neighbouring boxes of the
// default grid stay apart.

#include "game/ui/IntRect.h"

class UIContext;

class RenderManager;

// Draws the panel at the layer, in the panel colour of the render manager
// given (the dim colour without); the panel's rectangle, which is not open
// when the box is too small to hold one (nothing is drawn then).
IntRect DrawWidgetPanel(UIContext& ui, const IntRect& box, int layer, const RenderManager* view);
