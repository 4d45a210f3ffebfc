#include "game/render/manager/ClickTimer.h"

namespace {

// now has reached the moment, on a clock that may have wrapped since.
bool Reached(uint32_t now, uint32_t moment)
{
    return static_cast<int32_t>(now - moment) >= 0;
}

}  // namespace

bool ClickTimer::Click(uint64_t id, uint32_t now)
{
    if (id == currentId)
        return false;
    previousId = currentId;
    currentId = id;
    pending = true;
    clickTime = now;
    windowEnd = now + kWindowMs;
    inWindow = true;
    return true;
}

bool ClickTimer::Elapsed(uint32_t ms, uint32_t now)
{
    if (inWindow && Reached(now, windowEnd))
        inWindow = false;
    if (!inWindow) {
        currentId = defaultId;
        previousId = defaultId;
    }
    if (!pending || !Reached(now, clickTime + ms))
        return false;
    pending = false;
    return true;
}
