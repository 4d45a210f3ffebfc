#pragma once
// What the interface's script screens and story dialogs draw through the
// renderer: character portraits and turning ship models. The render manager
// implements it (it owns the portrait drawer and the ship-in-a-box view) and
// puts itself in the interface context (UIContext::pictures) at its set-up.

#include <glm/vec4.hpp>

#include <string>

#include "game/ui/IntRect.h"

class Qel2dBitmap;

class InterfacePictures {
public:
    virtual ~InterfacePictures() = default;

    // The portrait of a face description, its top-left corner at (x, y),
    // size pixels square, every part tinted with the colour, on the layer.
    virtual void DrawFace(const std::string& description, int x, int y, float size, const glm::vec4& tint,
                          int layer) = 0;

    // The ship type's model turning inside the rectangle, rendered through
    // the target (the retained GUI's 500 × 500 ship target).
    virtual void DrawShipInBox(Qel2dBitmap* target, const std::string& shipKey, const IntRect& rect) = 0;
};
