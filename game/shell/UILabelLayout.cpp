#include "game/shell/UILabelLayout.h"

#include <algorithm>

bool LabelLayout::Place(QelBitmapFont* font, const std::vector<IntRect>& candidates, const std::string& text,
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
        placed_.push_back({ink, text});
        ui.DrawShadowedText(font, box, text, colour, layer, shadow, align);
        return true;
    }
    return false;
}

bool LabelLayout::Free(const IntRect& ink) const
{
    return std::none_of(placed_.begin(), placed_.end(), [&](const Placed& other) {
        const IntRect& o = other.ink;
        return ink.left < o.right && o.left < ink.right && ink.top < o.bottom && o.top < ink.bottom;
    });
}

bool LabelLayout::Shown(const IntRect& ink, const std::string& text) const
{
    return std::any_of(placed_.begin(), placed_.end(),
                       [&](const Placed& other) { return other.ink == ink && other.text == text; });
}
