// The server's "signal" family for the values consoles set by key: the
// engineering console's power sliders (31) and coolant (32), and the main
// screen's camera target (32). The message names the key, but a console may
// set only these: any other key of its ship (a drive coefficient, its energy)
// is refused, and each value is held to what the console's control offers.

#include "game/behaviours/PlayerShipKeys.h"
#include "game/net/NetworkIds.h"
#include "game/net/ServerSignalHandlers.h"
#include "game/net/SignalHandling.h"
#include "game/net/SignalMessageCrew.h"
#include "game/world/SpaceObject.h"

#include <algorithm>

namespace {

using namespace playership;

// The engineering console's eight power sliders run from off to 300%.
constexpr int32_t kPowerSliders = 8;
constexpr float kMaxPower = 3.0f;
// Coolant goes to the four ship systems.
constexpr int32_t kCooledSystems = 4;

void RefuseKey(const QelNetworkMessage& message)
{
    ReportRejectedMessage(kServerSignalHandler, message, "a console may not set this key or index of its ship");
}

// 31: a power slider.
void HandleFloatValue(QelNetworkMessage& message, SpaceObject* ship)
{
    FloatValueFromClientSignal value;
    if (!ReadSignalOrReport(message, value, kServerSignalHandler) || !ship)
        return;
    if (value.key != kEngControlValue.name || value.index >= kPowerSliders)
        return RefuseKey(message);
    WriteFloat(ship->data_set, kEngControlValue, std::clamp(value.value, 0.0f, kMaxPower), value.index);
}

// The coolant a system may take: what the ship carries less what the other
// systems use, so no console can cool with coolant the ship lacks.
uint64_t FreeCoolantFor(const ObjectDataBlob& data, int32_t system)
{
    int64_t free = ReadInt(data, kSystemCoolantAvailable);
    for (int32_t other = 0; other < kCooledSystems; ++other)
        if (other != system)
            free -= std::max<int64_t>(ReadInt(data, kSystemCoolantUsed, other), 0);
    return static_cast<uint64_t>(std::max<int64_t>(free, 0));
}

// 32: a system's coolant, or the camera's target.
void HandleUInt64Value(QelNetworkMessage& message, SpaceObject* ship)
{
    UInt64ValueFromClientSignal value;
    if (!ReadSignalOrReport(message, value, kServerSignalHandler) || !ship)
        return;
    ObjectDataBlob& data = ship->data_set;
    if (value.key == kSystemCoolantUsed.name && value.index < kCooledSystems)
        return WriteUInt64(data, kSystemCoolantUsed, std::min(value.value, FreeCoolantFor(data, value.index)),
                           value.index);
    if (value.key == kCameraTargetUID.name && value.index == 0 && IsNoneOrSpaceObjectId(value.value))
        return WriteUInt64(data, kCameraTargetUID, value.value);
    RefuseKey(message);
}

}  // namespace

bool HandleServerEngineeringSignal(uint16_t code, QelNetworkMessage& message, const SignalSender& sender)
{
    switch (code) {
    case SIGNAL_MESS_FLOAT_VALUE: HandleFloatValue(message, sender.ship); return true;
    case SIGNAL_MESS_INT64_VALUE: HandleUInt64Value(message, sender.ship); return true;
    default: return false;
    }
}
