#pragma once
// The radar's name labels placed this frame, and where a new one goes: a
// label that would cover one placed earlier climbs to stand a step above it,
// and the search starts over from the first label placed, until none is
// covered or the label has climbed its most.
//
// The labels are filed by bands of rows, so finding the first one a label
// covers looks only at the labels of its own rows: a radar full of contacts
// places each label in time that grows with its neighbours, not with the
// whole crowd. The result is the one a scan of every label in order gives.

#include <cstddef>
#include <cstdint>
#include <vector>

#include "game/ui/IntRect.h"
#include "game/ui/RowBands.h"

class LabelStack {
public:
    void Clear();
    // Moves the box up (step pixels past the top of the first placed label
    // it meets, edges included) at most maxMoves times, files it and returns
    // where it stands.
    IntRect Place(IntRect box, int32_t step, int32_t maxMoves);
    const std::vector<IntRect>& Placed() const { return placed_; }

private:
    // The index of the first placed label the box meets, or placed_.size().
    size_t FirstMet(const IntRect& box) const;

    std::vector<IntRect> placed_;
    RowBands bands_;
};
