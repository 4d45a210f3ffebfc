#include "game/ui/IntRect.h"

IntRect& IntRect::Copy(IntRect& destination, const IntRect& source)
{
    destination = source;
    return destination;
}

IntRect& IntRect::Set(int32_t newLeft, int32_t newTop, int32_t newRight, int32_t newBottom)
{
    left = newLeft;
    top = newTop;
    right = newRight;
    bottom = newBottom;
    return *this;
}

void IntRect::Offset(int32_t dLeft, int32_t dTop, int32_t dRight, int32_t dBottom)
{
    left += dLeft;
    top += dTop;
    right += dRight;
    bottom += dBottom;
}

void IntRect::Translate(int32_t dx, int32_t dy)
{
    Offset(dx, dy, dx, dy);
}

bool IntRect::Contains(int32_t x, int32_t y) const
{
    return left <= x && x <= right && top <= y && y <= bottom;
}

IntPoint IntRect::Center() const
{
    return {(left + right) / 2, (top + bottom) / 2};
}
