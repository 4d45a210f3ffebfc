#pragma once
// Labels that keep clear of each other: the names and read-outs a view
// writes beside its objects (the radar's contacts and nav points, the 3D
// view's name tags). A view clears the layout as its frame begins, reserves
// what labels must not cover (its icons), and places each label through it;
// a label goes to the first of its candidate boxes where its text covers no
// label or reservation placed before and stays inside the view's bounds, and
// a label with no free candidate is left out, so a crowd of contacts shows
// the names that fit rather than names written into each other. A label
// asked for again where the same text already stands (a target's name under
// its lock and its name tag) is shown once.
//
//   labels.Clear();
//   labels.SetBounds(view);
//   for (each contact)
//       labels.Reserve(icon);
//   for (each contact)
//       labels.Place(font, std::array{above, higher}, name, colour, layer, {layer - 1}, 2);

#include <glm/vec4.hpp>

#include <optional>
#include <span>
#include <string>
#include <vector>

#include "game/ui/IntRect.h"
#include "game/ui/RowBands.h"
#include "game/ui/UIContext.h"

class LabelLayout {
public:
    void Clear();
    // Where labels may stand (the part of the target the view shows): a
    // candidate reaching past a side is moved in along it, one that cannot
    // fit is not free. Cleared with the layout; unbounded until set.
    void SetBounds(const IntRect& bounds);
    // Keeps later labels off the box (an icon) without drawing anything.
    void Reserve(const IntRect& box);
    // The first label or reservation the ink would cover, if any.
    std::optional<IntRect> Covering(const IntRect& ink) const;
    // Draws the text over its shadow in the first free candidate box (align
    // as UIContext::DrawText); false, drawing nothing, when none is free.
    // True, drawing nothing, when the same text already stands where the
    // first candidate would put it.
    bool Place(UIContext& ui, QelBitmapFont* font, std::span<const IntRect> candidates, const std::string& text,
               const glm::vec4& colour, int layer, UIContext::Shadow shadow, int align);
    // Draws the text over its shadow in the box its owner chose by a rule of
    // its own (the radar's climbing names), and keeps later labels clear of it.
    void Claim(UIContext& ui, QelBitmapFont* font, const IntRect& box, const std::string& text, const glm::vec4& colour,
               int layer, UIContext::Shadow shadow, int align);

private:
    struct Placed {
        IntRect ink;
        std::string text;
    };

    void File(const IntRect& ink, const std::string& text);
    // The candidate's box and ink moved inside the bounds; false when they
    // cannot be.
    bool Bounded(IntRect& box, IntRect& ink) const;
    bool Shown(const IntRect& ink, const std::string& text) const;

    std::vector<Placed> placed_;  // the labels placed so far
    RowBands bands_;  // placed_ by rows
    std::optional<IntRect> bounds_;
};
