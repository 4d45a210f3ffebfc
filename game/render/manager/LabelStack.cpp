#include "game/render/manager/LabelStack.h"

void LabelStack::Clear()
{
    placed_.clear();
    bands_.clear();
}

int32_t LabelStack::BandOf(int32_t row)
{
    return row >= 0 ? row / kBandRows : -((-row + kBandRows - 1) / kBandRows);
}

size_t LabelStack::FirstMet(const IntRect& box) const
{
    size_t first = placed_.size();
    for (int32_t band = BandOf(box.top); band <= BandOf(box.bottom); ++band) {
        const auto found = bands_.find(band);
        if (found == bands_.end())
            continue;
        for (const uint32_t index : found->second) {
            if (index >= first)
                break;
            const IntRect& other = placed_[index];
            if (box.right >= other.left && other.right >= box.left && box.bottom >= other.top &&
                other.bottom >= box.top) {
                first = index;
                break;
            }
        }
    }
    return first;
}

IntRect LabelStack::Place(IntRect box, int32_t step, int32_t maxMoves)
{
    const int32_t height = box.Height();
    for (int32_t moves = 0; moves < maxMoves; ++moves) {
        const size_t met = FirstMet(box);
        if (met == placed_.size())
            break;
        box.top = placed_[met].top - step;
        box.bottom = box.top + height;
    }
    const auto index = static_cast<uint32_t>(placed_.size());
    placed_.push_back(box);
    for (int32_t band = BandOf(box.top); band <= BandOf(box.bottom); ++band)
        bands_[band].push_back(index);
    return box;
}
