#include "game/widgets/StringChangeTracker.h"

namespace {

// now is at or past the moment, on a clock that wraps.
bool Reached(uint32_t now, uint32_t moment)
{
    return static_cast<int32_t>(now - moment) >= 0;
}

}  // namespace

void StringChangeTracker::Change(const std::string& newValue, uint32_t now)
{
    if (newValue == value)
        return;
    previous = value;
    value = newValue;
    changed = true;
    changeTime = now;
    holdUntil = now + kHold;
    holding = true;
}

bool StringChangeTracker::Cycle(uint32_t now)
{
    if (!holding || Reached(now, holdUntil)) {
        value = previous = serverValue;
        holding = false;
    }
    if (!changed || !Reached(now, changeTime + kSendDelay))
        return false;
    changed = false;
    return true;
}
