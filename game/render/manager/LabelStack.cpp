#include "game/render/manager/LabelStack.h"

void LabelStack::Clear()
{
    placed_.clear();
    bands_.Clear();
}

size_t LabelStack::FirstMet(const IntRect& box) const
{
    size_t first = placed_.size();
    bands_.Visit(box.top, box.bottom, [&](uint32_t index) {
        if (index >= first)
            return false;
        const IntRect& other = placed_[index];
        if (box.right >= other.left && other.right >= box.left && box.bottom >= other.top && other.bottom >= box.top) {
            first = index;
            return false;
        }
        return true;
    });
    return first;
}

std::optional<IntRect> LabelStack::InTheWay(const IntRect& box, const Obstacle& obstacle) const
{
    const size_t met = FirstMet(box);
    if (met != placed_.size())
        return placed_[met];
    return obstacle ? obstacle(box) : std::nullopt;
}

LabelStack::Placement LabelStack::Place(IntRect box, int32_t step, int32_t maxMoves, const Obstacle& obstacle)
{
    const int32_t height = box.Height();
    std::optional<IntRect> inTheWay = InTheWay(box, obstacle);
    for (int32_t moves = 0; moves < maxMoves && inTheWay; ++moves) {
        box.top = inTheWay->top - step;
        box.bottom = box.top + height;
        inTheWay = InTheWay(box, obstacle);
    }
    bands_.File(box, static_cast<uint32_t>(placed_.size()));
    placed_.push_back(box);
    return {box, !inTheWay};
}
