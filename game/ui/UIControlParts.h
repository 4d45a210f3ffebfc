#pragma once
// Drawing pieces that several control families share. Internal to the
// interface toolkit: callers draw with the controls of UIControls.h.

#include <glm/vec4.hpp>

#include <cstdint>
#include <string>

#include "game/ui/IntRect.h"

class UIContext;

// What a button-like control starts with: its label colour (the next-control
// colour taken), its rectangle, the click rule's answer and its panel colour
// after it.
struct ButtonStart {
    IntRect rect;
    glm::vec4 labelColour{0.0f};
    glm::vec4 panelColour{0.0f};
    bool clicked = false;
};

// The start of a button in the current rectangle; false when the rectangle
// is not open, and the button then draws nothing.
bool StartButton(UIContext& ui, int32_t id, bool enabled, ButtonStart& start);

// uiFrame over an integer rectangle.
void DrawFrame(UIContext& ui, int style, const IntRect& rect, const glm::vec4& colour, int layer);

// The rectangle with every edge moved inwards by pixels.
IntRect Inset(const IntRect& rect, int32_t pixels);

// Red, green and blue × factor, alpha kept.
glm::vec4 ScaledRgb(const glm::vec4& colour, float factor);

// The panel colour × 0.3 with full alpha: an unlit tick box or indicator.
glm::vec4 UnlitColour(const glm::vec4& panelColour);

// A style 0 panel over the rectangle and the label in the text box.
void DrawButtonFace(UIContext& ui, const IntRect& rect, const glm::vec4& panelColour, const IntRect& textBox,
                    const std::string& label, const std::string& fontTag, const glm::vec4& labelColour, int layer);

// The right half of the rectangle, where state 1 and 2 put their content,
// beside the indicator drawn over the left half: lit (state 2) or unlit.
// State 0 leaves the whole rectangle to the content.
IntRect DrawStateIndicator(UIContext& ui, const IntRect& rect, int state, const glm::vec4& panelColour,
                           const glm::vec4& litColour, int layer);
