// The button family: push, check, option, arrow, click-region and bitmap buttons.

#include <algorithm>

#include "engine/base/Qel2dBitmap.h"
#include "engine/base/QelBitmapFont.h"
#include "game/ui/UIContext.h"
#include "game/ui/UIControlParts.h"
#include "game/ui/UIControls.h"

namespace {

// A tick square is as wide as the button is tall, within these bounds.
constexpr int32_t kMinTickWidth = 3;
constexpr int32_t kMaxTickWidth = 30;
// A bitmap button's pixel counts as the button where it is more opaque than this.
constexpr float kBitmapHitAlpha = 0.1f;
constexpr int kBitmapButtonLayer = 1000;
// Pixels a caption's box keeps beyond its text, so the text never breaks.
constexpr int32_t kCaptionSlack = 2;
constexpr int kAlignCentre = 2;

// Whether the bitmap, drawn centred on the point and scaled, is opaque under the mouse.
bool MouseOnOpaquePixel(UIContext& ui, Qel2dBitmap& bitmap, float centreX, float centreY, float scale)
{
    int32_t mouseX = 0, mouseY = 0;
    if (!ui.MousePosition(mouseX, mouseY))
        return false;
    const int width = bitmap.GetWidth();
    const int height = bitmap.GetHeight();
    const float x = (static_cast<float>(mouseX) - centreX) / scale + static_cast<float>(width) / 2;
    const float y = (static_cast<float>(mouseY) - centreY) / scale + static_cast<float>(height) / 2;
    if (!(x >= 0 && y >= 0 && x < static_cast<float>(width) && y < static_cast<float>(height)))
        return false;
    float alpha = 0, red = 0, green = 0, blue = 0;
    bitmap.GetPixel(static_cast<int>(x), static_cast<int>(y), alpha, red, green, blue);
    return alpha > kBitmapHitAlpha;
}

// The caption's box from the bitmap's pixels to the window's, as the bitmap
// is drawn; as wide as the text and as tall as its line at least, about the
// same middle.
void DrawBitmapCaption(UIContext& ui, Qel2dBitmap& bitmap, float centreX, float centreY, float scale,
                       const BitmapCaption& caption, const glm::vec4& tint)
{
    if (caption.font == nullptr)
        return;
    const auto across = [&](int32_t pixel) {
        return static_cast<int32_t>(centreX + (static_cast<float>(pixel) - bitmap.GetWidth() / 2.0f) * scale);
    };
    const auto down = [&](int32_t pixel) {
        return static_cast<int32_t>(centreY + (static_cast<float>(pixel) - bitmap.GetHeight() / 2.0f) * scale);
    };
    IntRect box{across(caption.box.left), down(caption.box.top), across(caption.box.right), down(caption.box.bottom)};
    const int32_t missing = caption.font->GetTextWidth(caption.text) + kCaptionSlack - box.Width();
    if (missing > 0) {
        box.left -= (missing + 1) / 2;
        box.right += (missing + 1) / 2;
    }
    const int32_t tooShort = caption.font->GetLineStep() - box.Height();
    if (tooShort > 0) {
        box.top -= (tooShort + 1) / 2;
        box.bottom += (tooShort + 1) / 2;
    }
    ui.DrawText(caption.font, box, caption.text, tint, kBitmapButtonLayer + 1, kAlignCentre);
}

}  // namespace

bool uiButton(UIContext& ui, int32_t id, const std::string& label, const std::string& fontTag, bool enabled, int layer)
{
    ButtonStart button;
    if (!StartButton(ui, id, enabled, button))
        return false;
    DrawButtonFace(ui, button.rect, button.panelColour, button.rect, label, fontTag, button.labelColour, layer);
    if (button.clicked)
        ui.textEntryOwner = 0;
    return button.clicked;
}

bool uiFourStringButton(UIContext& ui, int32_t id, const std::string& label, const std::string& fontTag,
                        const std::string& colourText, int layer)
{
    glm::vec4 labelColour = ui.mainColour;
    ui.TakeNextColour(labelColour);
    const IntRect rect = ui.CurrentRect();
    if (!rect.IsOpen())
        return false;
    const bool clicked = ui.ClickRule(id, rect, true);
    if (ui.hotId != id)
        return clicked;
    if (!label.empty()) {
        ui.DrawText(ui.GetFont(fontTag), rect, label, ui.activeId == id ? ui.shades[4] : labelColour, layer + 1, 2);
    } else {
        glm::vec4 fill = ui.dimColour;
        uiParseColorValid(colourText, fill);
        if (Qel2dBitmap* white = ui.White()) {
            white->SetDestRectInt(QelRect{rect.left, rect.top, rect.right, rect.bottom});
            white->DrawQuad(&fill[0], layer, false);
        }
    }
    return clicked;
}

bool uiBitmapButton(UIContext& ui, int32_t id, const std::string& bitmapName, float centreX, float centreY, float scale,
                    const BitmapCaption* caption)
{
    glm::vec4 tint = ui.mainColour;
    ui.TakeNextColour(tint);
    Qel2dBitmap* bitmap = ui.Bitmap(bitmapName);
    if (bitmap == nullptr || !(scale > 0))
        return false;
    const bool inside = MouseOnOpaquePixel(ui, *bitmap, centreX, centreY, scale);
    const bool clicked = ui.Interact(id, inside, true);
    if (ui.activeId == id)
        tint = ScaledRgb(tint, 0.9f);
    else if (ui.hotId == id)
        tint = ScaledRgb(tint, 0.7f);
    bitmap->DrawRotated(centreX, centreY, 0.0f, scale, kBitmapButtonLayer, &tint[0], false);
    if (caption)
        DrawBitmapCaption(ui, *bitmap, centreX, centreY, scale, *caption, tint);
    return clicked;
}

bool uiArrowButton(UIContext& ui, int32_t id, int direction, bool enabled, int layer)
{
    ui.nextControlColour.clear();
    const IntRect rect = ui.CurrentRect();
    if (!rect.IsOpen())
        return false;
    const bool clicked = ui.ClickRule(id, rect, enabled);
    const glm::vec4 colour = enabled ? ui.PanelColour(id) : ui.shades[0];
    const float l = static_cast<float>(rect.left), t = static_cast<float>(rect.top);
    const float r = static_cast<float>(rect.right), b = static_cast<float>(rect.bottom);
    const float midX = (l + r) / 2, midY = (t + b) / 2;
    switch (direction) {
    case 0: ui.FillTriangle(midX, t, r, b, l, b, colour, layer); break;
    case 1: ui.FillTriangle(r, midY, l, b, l, t, colour, layer); break;
    case 2: ui.FillTriangle(midX, b, l, t, r, t, colour, layer); break;
    case 3: ui.FillTriangle(l, midY, r, t, r, b, colour, layer); break;
    default: break;
    }
    return clicked;
}

bool uiCheckButton(UIContext& ui, int32_t id, const std::string& label, const std::string& fontTag, bool ticked,
                   bool enabled, int layer)
{
    ButtonStart button;
    if (!StartButton(ui, id, enabled, button))
        return false;
    const IntRect& rect = button.rect;
    const int32_t tickWidth = std::clamp(rect.Height(), kMinTickWidth, kMaxTickWidth);
    const IntRect textBox{rect.left + tickWidth, rect.top, rect.right, rect.bottom};
    DrawButtonFace(ui, rect, button.panelColour, textBox, label, fontTag, button.labelColour, layer);
    DrawFrame(ui, 10, IntRect{rect.left + 1, rect.top + 1, rect.left + tickWidth, rect.bottom - 2},
              ticked ? button.labelColour : UnlitColour(button.panelColour), layer + 1);
    return button.clicked;
}

bool uiOptionButton(UIContext& ui, int32_t id, const std::string& label, const std::string& fontTag, bool selected,
                    bool enabled, int layer)
{
    ButtonStart button;
    if (!StartButton(ui, id, enabled, button))
        return false;
    // The chosen option of its group is filled in the bright label colour,
    // its label dark on it as on a slider's knob: readable across a bridge.
    const glm::vec4& face = selected ? button.labelColour : button.panelColour;
    const glm::vec4& text = selected ? ui.knobTextColour : button.labelColour;
    DrawButtonFace(ui, button.rect, face, button.rect, label, fontTag, text, layer);
    return button.clicked;
}
