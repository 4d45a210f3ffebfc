#include "game/guimodel/RetainedGUIWidget.h"

#include <cmath>

bool RetainedGUIWidget::NumbersFit() const
{
    for (float number : {low, high, value})
        if (!std::isfinite(number))
            return false;
    for (float coordinate : {left, top, right, bottom, srcLeft, srcTop, srcRight, srcBottom})
        if (!(std::fabs(coordinate) <= kMaxCoordinate))
            return false;
    return true;
}
