#include "game/guimodel/RetainedGUIWidget.h"

#include <cmath>

bool RetainedGUIWidget::NumbersAreFinite() const
{
    for (float number : {low, high, value, left, top, right, bottom, srcLeft, srcTop, srcRight, srcBottom})
        if (!std::isfinite(number))
            return false;
    return true;
}
