#pragma once
// The controls of the immediate-mode interface. Each is a function called
// once per drawn frame: it lays itself out in the current rectangle of
// theUIContext (unless it takes a position of its own), applies the click
// rule with the id it is given, draws itself through the 2D service and
// returns what happened this frame. A rectangle that is not open draws
// nothing and clicks nothing.
//
// Common to the clickable controls: the body at the layer, text and marks at
// layer + 1; the panel in the dim colour, brighter while hot (under the
// mouse) and while active (pressed); the label in the main colour, in the
// next-control colour when one is set, dimmed when disabled; text in the
// rectangle inset by 3 pixels, left-aligned from the top and wrapped to the
// width. The result is true on the frame of the click.
//
//   ui.SetCurrentRectEdges(20, 20, 220, 52);
//   if (uiButton(ui, 10, "Start Server", "gui-2", true, 1000)) ...
//   ui.ShiftRectY(1, 4);
//   if (uiCheckButton(ui, 11, "Full screen", "gui-1", fullScreen, true, 1000)) fullScreen = !fullScreen;

#include <glm/vec4.hpp>

#include <cstdint>
#include <string>
#include <vector>

#include "game/ui/IntRect.h"

class Edline;
class UIContext;
class QelBitmapFont;

// Rows of a drop-down's list take the drop-down's id plus this, plus the row
// index: keep other ids clear of that range.
constexpr int32_t kDropDownRowIdOffset = 12345;

// A push button. A click also ends text entry.
bool uiButton(UIContext& ui, int32_t id, const std::string& label, const std::string& fontTag, bool enabled, int layer);

// The box a button's label is fitted into, for a button in the rectangle.
IntRect uiButtonTextBox(const IntRect& rect);

// A transparent click region that lights up only under the mouse: the label
// centred, or, with no label, the rectangle filled in the colour text.
bool uiFourStringButton(UIContext& ui, int32_t id, const std::string& label, const std::string& fontTag,
                        const std::string& colourText, int layer);

// A bitmap button's caption: the text in the font, centred in a box given in
// the bitmap's own pixels (widened to the text where it is narrower), over
// the bitmap in the button's tint.
struct BitmapCaption {
    std::string text;
    IntRect box;
    QelBitmapFont* font = nullptr;
};

// The bitmap centred on the point, scaled; only its opaque pixels click. A
// bitmap that does not load draws nothing and never clicks (logged once).
bool uiBitmapButton(UIContext& ui, int32_t id, const std::string& bitmapName, float centreX, float centreY, float scale,
                    const BitmapCaption* caption = nullptr);

// An icon of the icon sheet centred on the point; its square of halfSize ×
// scale clicks. Dimmed to 80 % while hot and 60 % while pressed.
bool uiIconButton(UIContext& ui, int32_t id, int cell, const glm::vec4& colour, float centreX, float centreY,
                  float halfSize, int layer, float scale);

// A button with an icon. state 0: the icon centred; 1 and 2: the icon in the
// right half and an indicator in the left half, lit for 2. The ByName form
// takes a colour text (text the colour parser cannot read shows magenta).
bool uiIconButtonInRect(UIContext& ui, int32_t id, int cell, const glm::vec4& colour, int state, int layer);
bool uiIconButtonByName(UIContext& ui, int32_t id, int cell, const std::string& colourText, int state, int layer);

// A button showing a colour swatch, with the indicator of uiIconButtonInRect.
bool uiColorSwatchButton(UIContext& ui, int32_t id, const glm::vec4& colour, int state, int layer);
bool uiColorButton(UIContext& ui, int32_t id, const std::string& colourText, int state, int layer);

// A solid triangle filling the rectangle, pointing up (0), right (1), down
// (2) or left (3).
bool uiArrowButton(UIContext& ui, int32_t id, int direction, bool enabled, int layer);

// A button with a tick square at its left end; the caller flips its own state on a click.
bool uiCheckButton(UIContext& ui, int32_t id, const std::string& label, const std::string& fontTag, bool ticked,
                   bool enabled, int layer);

// A button framed a second time while selected.
bool uiOptionButton(UIContext& ui, int32_t id, const std::string& label, const std::string& fontTag, bool selected,
                    bool enabled, int layer);

// Nine steps along the rectangle's longer side (from the bottom when
// upright): the first sets selected to -1, step k to k - 1. Steps up to the
// selection are lit in setColour, further steps up to highestAvailable in
// availableColour. True on the click that changed the selection.
bool uiCoolantButtons(UIContext& ui, int32_t id, int32_t& selected, const glm::vec4& setColour,
                      int32_t highestAvailable, const glm::vec4& availableColour, bool enabled);

// A value bar, upright when narrower than tall (minimum at the bottom). While
// pressed the value follows the mouse, held within minimum..maximum. The
// knob shows mode "float" (the value with decimals), "int" (a whole number)
// or any other text as it stands; "justbar" shows the value and takes no
// input at all. True on the frame the drag ends.
bool uiSlider(UIContext& ui, int32_t id, float minimum, float maximum, float& value, int layer,
              const std::string& mode);

// One row of an editor's column of settings: the caption, a slider with the
// next id of theUIContext.sliderRowId, and the value's text, which replaces
// the caption; then the current rectangle moves down by its height.
bool uiSliderRow(UIContext& ui, std::string& caption, float minimum, float maximum, float& value);

// A closed head showing the label; a click opens its list (when the list has
// rows), and while open every other control is inert. Choosing a row sets
// selected and the label and returns true; a release outside the list closes
// it unchanged.
bool uiDropDown(UIContext& ui, int32_t id, std::string& label, int32_t& selected, const std::vector<std::string>& list,
                const std::string& fontTag, int layer);

// The open list of a drop-down, rows going away from the nearer window edges
// of the rectangle. True when a row was chosen; an empty list draws nothing.
bool uiDropDownList(UIContext& ui, int32_t id, const IntRect& rect, int32_t& selected,
                    const std::vector<std::string>& list, const std::string& fontTag, int layer);

// A text box bound to the field (its id and font are the field's). A press
// gives it the typed keys: printable characters insert at the cursor, within
// the field's restrictions; Backspace deletes before the cursor; the cursor
// keys (left, right, Home, End) move it; Enter keeps the text and pushes it
// into the history. True on a frame in which the text changed or Enter was
// pressed. An empty field without the keys shows the placeholder.
bool uiTextBox(UIContext& ui, const std::string& placeholder, Edline& field, int layer);

// One cell (column cell % 20, row cell / 20) of the 20 × 20 icon sheet
// "grid-icon-sheet", as the square centre ± halfSize. A cell off the sheet draws nothing.
void uiGridIcon(UIContext& ui, int cell, const glm::vec4& colour, float centreX, float centreY, float halfSize,
                int layer);

// Chevrons marking a bar filled to the percent along the rectangle's longer
// side (from the left, or from the bottom when upright), in a colour that
// stands out from the given one. Nothing below 50 %.
void uiPercentChevrons(UIContext& ui, const IntRect& rect, float percent, const glm::vec4& colour);
