#include "game/ui/UILabelLayout.h"

void LabelLayout::Clear()
{
    placed_.clear();
    bands_.Clear();
    bounds_.reset();
}

void LabelLayout::SetBounds(const IntRect& bounds)
{
    bounds_ = bounds;
}

void LabelLayout::Reserve(const IntRect& box)
{
    File(box, std::string());
}

// The text is fitted once, into the first candidate: the others of the same
// size take its lines where they stand, so a label that tries several places
// pays for one fit.
bool LabelLayout::Place(UIContext& ui, QelBitmapFont* font, std::span<const IntRect> candidates,
                        const std::string& text, const glm::vec4& colour, int layer, UIContext::Shadow shadow,
                        int align)
{
    if (font == nullptr || text.empty() || candidates.empty())
        return false;
    const IntRect& first = candidates.front();
    const IntRect firstInk = ui.TextInk(font, first, text, align);
    if (Shown(firstInk, text))
        return true;
    for (IntRect box : candidates) {
        IntRect ink = firstInk;
        if (box.Width() == first.Width() && box.Height() == first.Height())
            ink.Translate(box.left - first.left, box.top - first.top);
        else
            ink = ui.TextInk(font, box, text, align);
        if (!Bounded(box, ink) || Covering(ink))
            continue;
        File(ink, text);
        ui.DrawShadowedText(font, box, text, colour, layer, shadow, align);
        return true;
    }
    return false;
}

void LabelLayout::Claim(UIContext& ui, QelBitmapFont* font, const IntRect& box, const std::string& text,
                        const glm::vec4& colour, int layer, UIContext::Shadow shadow, int align)
{
    if (font == nullptr || text.empty())
        return;
    File(ui.TextInk(font, box, text, align), text);
    ui.DrawShadowedText(font, box, text, colour, layer, shadow, align);
}

void LabelLayout::File(const IntRect& ink, const std::string& text)
{
    bands_.File(ink, static_cast<uint32_t>(placed_.size()));
    placed_.push_back({ink, text});
}

bool LabelLayout::Bounded(IntRect& box, IntRect& ink) const
{
    if (!bounds_)
        return true;
    const IntRect& b = *bounds_;
    if (ink.Width() > b.Width() || ink.top < b.top || ink.bottom > b.bottom)
        return false;
    int32_t dx = 0;
    if (ink.left < b.left)
        dx = b.left - ink.left;
    else if (ink.right > b.right)
        dx = b.right - ink.right;
    box.Translate(dx, 0);
    ink.Translate(dx, 0);
    return true;
}

std::optional<IntRect> LabelLayout::Covering(const IntRect& ink) const
{
    std::optional<IntRect> covered;
    bands_.Visit(ink.top, ink.bottom, [&](uint32_t index) {
        const IntRect& o = placed_[index].ink;
        if (ink.left < o.right && o.left < ink.right && ink.top < o.bottom && o.top < ink.bottom)
            covered = o;
        return !covered;
    });
    return covered;
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
