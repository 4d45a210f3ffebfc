#include "game/world/DmxLighting.h"

DmxLighting* gDmxLighting = nullptr;

namespace {

bool IsLevel(int32_t value)
{
    return value >= 0 && value <= kDmxMaxLevel;
}

}  // namespace

const char* DmxChannelFault(const DmxChannelRequest& request)
{
    if (request.channel < 0 || request.channel >= kDmxConfigurableChannels)
        return "DMX channel is out of bounds.";
    if (request.behaviour < 0 || request.behaviour >= DMX_BEHAV_MAX)
        return "DMX behavior value is out of bounds.";
    if (!IsLevel(request.speed))
        return "DMX speed value is out of bounds.";
    if (!IsLevel(request.low))
        return "DMX low value is out of bounds.";
    if (!IsLevel(request.high))
        return "DMX high value is out of bounds.";
    return nullptr;
}
