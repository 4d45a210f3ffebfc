#include "game/ui/UILabelLayout.h"

void LabelLayout::Clear()
{
    placed_.clear();
    bands_.Clear();
}

bool LabelLayout::Place(QelBitmapFont* font, std::span<const IntRect> candidates, const std::string& text,
                        const glm::vec4& colour, int layer, UIContext::Shadow shadow, int align)
{
    if (font == nullptr || text.empty() || candidates.empty())
        return false;
    UIContext& ui = theUIContext;
    if (Shown(ui.TextInk(font, candidates.front(), text, align), text))
        return true;
    for (const IntRect& box : candidates) {
        const IntRect ink = ui.TextInk(font, box, text, align);
        if (!Free(ink))
            continue;
        File(ink, text);
        ui.DrawShadowedText(font, box, text, colour, layer, shadow, align);
        return true;
    }
    return false;
}

void LabelLayout::Claim(QelBitmapFont* font, const IntRect& box, const std::string& text, const glm::vec4& colour,
                        int layer, UIContext::Shadow shadow, int align)
{
    if (font == nullptr || text.empty())
        return;
    UIContext& ui = theUIContext;
    File(ui.TextInk(font, box, text, align), text);
    ui.DrawShadowedText(font, box, text, colour, layer, shadow, align);
}

void LabelLayout::File(const IntRect& ink, const std::string& text)
{
    bands_.File(ink, static_cast<uint32_t>(placed_.size()));
    placed_.push_back({ink, text});
}

bool LabelLayout::Free(const IntRect& ink) const
{
    bool free = true;
    bands_.Visit(ink.top, ink.bottom, [&](uint32_t index) {
        const IntRect& o = placed_[index].ink;
        if (ink.left < o.right && o.left < ink.right && ink.top < o.bottom && o.top < ink.bottom)
            free = false;
        return free;
    });
    return free;
}

bool LabelLayout::Shown(const IntRect& ink, const std::string& text) const
{
    bool shown = false;
    bands_.Visit(ink.top, ink.bottom, [&](uint32_t index) {
        if (placed_[index].ink == ink && placed_[index].text == text)
            shown = true;
        return !shown;
    });
    return shown;
}
