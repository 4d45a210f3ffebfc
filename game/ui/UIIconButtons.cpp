// The icon family: icons of the icon sheet, icon buttons and colour swatch buttons.

#include <algorithm>

#include "engine/base/Qel2dBitmap.h"
#include "game/ui/UIContext.h"
#include "game/ui/UIControlParts.h"
#include "game/ui/UIControls.h"
#include "helper/ColorParse.h"

namespace {

constexpr const char* kIconSheet = "grid-icon-sheet";
constexpr int kIconColumns = 20;
constexpr int kIconRows = 20;
// Each cell is drawn inset by this much, so neighbouring icons never bleed in.
constexpr float kIconCellInset = 2.0f;
// An icon inside a button keeps this far from the button's edges.
constexpr float kIconMargin = 3.0f;
// A swatch fills its button less this inset.
constexpr int32_t kSwatchInset = 2;

glm::vec4 Scaled(const glm::vec4& colour, float factor)
{
    return colour * factor;
}

// The icon centred in the rectangle, as large as its smaller side allows.
void IconInRect(UIContext& ui, int cell, const glm::vec4& colour, const IntRect& rect, int layer)
{
    const float half = std::min(rect.Width(), rect.Height()) / 2.0f - kIconMargin;
    if (half <= 0)
        return;
    uiGridIcon(ui, cell, colour, (rect.left + rect.right) / 2.0f, (rect.top + rect.bottom) / 2.0f, half, layer);
}

}  // namespace

void uiGridIcon(UIContext& ui, int cell, const glm::vec4& colour, float centreX, float centreY, float halfSize,
                int layer)
{
    if (cell < 0 || cell >= kIconColumns * kIconRows)
        return;
    Qel2dBitmap* sheet = ui.Bitmap(kIconSheet);
    if (sheet == nullptr)
        return;
    const float cellWidth = static_cast<float>(sheet->GetWidth()) / kIconColumns;
    const float cellHeight = static_cast<float>(sheet->GetHeight()) / kIconRows;
    const float left = static_cast<float>(cell % kIconColumns) * cellWidth;
    const float top = static_cast<float>(cell / kIconColumns) * cellHeight;
    sheet->SetSourceRect(left + kIconCellInset, top + kIconCellInset, left + cellWidth - kIconCellInset,
                         top + cellHeight - kIconCellInset);
    sheet->SetDestRect(centreX - halfSize, centreY - halfSize, centreX + halfSize, centreY + halfSize);
    sheet->SetDrawProcess(nullptr, true, false);
    sheet->DrawQuad(&colour[0], layer, false);
}

bool uiIconButton(UIContext& ui, int32_t id, int cell, const glm::vec4& colour, float centreX, float centreY,
                  float halfSize, int layer, float scale)
{
    ui.nextControlColour.clear();
    const float reach = halfSize * scale;
    if (!(reach > 0))
        return false;
    const bool inside = ui.MouseInside(centreX - reach, centreY - reach, centreX + reach, centreY + reach);
    const bool clicked = ui.Interact(id, inside, true);
    glm::vec4 shown = colour;
    if (ui.activeId == id)
        shown = Scaled(colour, 0.6f);
    else if (ui.hotId == id)
        shown = Scaled(colour, 0.8f);
    uiGridIcon(ui, cell, shown, centreX, centreY, halfSize, layer);
    return clicked;
}

bool uiIconButtonInRect(UIContext& ui, int32_t id, int cell, const glm::vec4& colour, int state, int layer)
{
    ButtonStart button;
    if (!StartButton(ui, id, true, button))
        return false;
    DrawFrame(ui, 0, button.rect, button.panelColour, layer);
    IconInRect(ui, cell, colour,
               DrawStateIndicator(ui, button.rect, state, button.panelColour, button.labelColour, layer + 1),
               layer + 1);
    return button.clicked;
}

bool uiIconButtonByName(UIContext& ui, int32_t id, int cell, const std::string& colourText, int state, int layer)
{
    glm::vec4 colour;
    ParseColor(colour, colourText);
    return uiIconButtonInRect(ui, id, cell, colour, state, layer);
}

bool uiColorSwatchButton(UIContext& ui, int32_t id, const glm::vec4& colour, int state, int layer)
{
    ButtonStart button;
    if (!StartButton(ui, id, true, button))
        return false;
    DrawFrame(ui, 0, button.rect, button.panelColour, layer);
    const IntRect swatch = Inset(
        DrawStateIndicator(ui, button.rect, state, button.panelColour, button.labelColour, layer + 1), kSwatchInset);
    DrawFrame(ui, 10, swatch, colour, layer + 1);
    return button.clicked;
}

bool uiColorButton(UIContext& ui, int32_t id, const std::string& colourText, int state, int layer)
{
    glm::vec4 colour;
    ParseColor(colour, colourText);
    return uiColorSwatchButton(ui, id, colour, state, layer);
}
