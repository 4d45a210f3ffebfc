#pragma once
// The radar's name labels placed this frame, and where a new one goes: a
// label that would cover one placed earlier, or an obstacle its owner names
// (an icon, a read-out), climbs to stand a step above it, and the search
// starts over from the first label placed, until nothing is covered or the
// label has climbed its most.
//
// The labels are filed by bands of rows, so finding the first one a label
// covers looks only at the labels of its own rows: a radar full of contacts
// places each label in time that grows with its neighbours, not with the
// whole crowd. The result is the one a scan of every label in order gives.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

#include "game/ui/IntRect.h"
#include "game/ui/RowBands.h"

class LabelStack {
public:
    // The box of something else a label must not cover, in the way of the
    // box given; none when the way is clear.
    using Obstacle = std::function<std::optional<IntRect>(const IntRect&)>;

    struct Placement {
        IntRect box;
        bool clear = false;  // it covers no label and no obstacle
    };

    void Clear();
    // Moves the box up (step pixels past the top of the first placed label
    // it meets, edges included, or of the obstacle in its way) at most
    // maxMoves times, files it and returns where it stands.
    Placement Place(IntRect box, int32_t step, int32_t maxMoves, const Obstacle& obstacle = {});
    const std::vector<IntRect>& Placed() const { return placed_; }

private:
    // The index of the first placed label the box meets, or placed_.size().
    size_t FirstMet(const IntRect& box) const;
    // The placed label or obstacle in the box's way, if any.
    std::optional<IntRect> InTheWay(const IntRect& box, const Obstacle& obstacle) const;

    std::vector<IntRect> placed_;
    RowBands bands_;
};
