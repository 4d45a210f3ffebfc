#pragma once
// Boxes filed by bands of screen rows, so a search for the boxes a new one
// meets looks only at those of its own rows: a view full of labels places
// each one in time that grows with its neighbours, not with the crowd.
// The boxes are known by the index their owner gave them, and each band
// keeps its indices in the order they were filed.

#include <cstdint>
#include <unordered_map>
#include <vector>

#include "game/ui/IntRect.h"

class RowBands {
public:
    void Clear() { bands_.clear(); }
    void File(const IntRect& box, uint32_t index);
    // Calls visit(index) for the boxes filed in the bands the rows top to
    // bottom touch, band by band, each band in filing order; a box in two
    // bands is visited twice. visit returns false to leave the band.
    template <typename Visitor>
    void Visit(int32_t top, int32_t bottom, Visitor visit) const
    {
        for (int32_t band = BandOf(top); band <= BandOf(bottom); ++band) {
            const auto found = bands_.find(band);
            if (found == bands_.end())
                continue;
            for (const uint32_t index : found->second)
                if (!visit(index))
                    break;
        }
    }

private:
    // Rows a band holds: a label (20 rows) meets two bands at most.
    static constexpr int32_t kBandRows = 32;
    static int32_t BandOf(int32_t row);

    std::unordered_map<int32_t, std::vector<uint32_t>> bands_;
};
