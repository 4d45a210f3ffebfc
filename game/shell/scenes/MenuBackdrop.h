#pragma once
// The menu backdrop of every menu screen and of the server's console screen:
// the background image over the whole window, tinted with the deep
// background colour.

#include <glm/vec4.hpp>

class UIContext;

class Qel2dBitmap;

struct MenuBackdrop {
    // The menu background image, named by "gui-color-deep-background-image"
    // and taken by the first scene on every enter; null when it does not
    // load, and the backdrop is then the tint alone.
    Qel2dBitmap* image = nullptr;
    // The tint: "gui-color-deep-background", or during red alert on a
    // console "gui-color-red-alert".
    glm::vec4 colour{0.0f, 0.0f, 0.0f, 1.0f};

    // Sets the colour from the colour preference; a text the colour parser
    // cannot read leaves the colour as it was.
    void ReadColour(const char* preference);

    // The image (or the interface's white) over the whole window, tinted at
    // layer 995, then a flush so that all drawn after it lies over it.
    void Draw(UIContext& ui) const;
};
