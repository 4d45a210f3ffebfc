// The server's "signal" family for the helm console: throttle, reverse, the
// three forms of steering, picking an object or a point to turn towards, the
// jump and the quick jump. Each writes keys of the sender's ship's data set,
// which the player-ship behaviour turns into movement on the following ticks
// (the quick jump it makes at once). Values from consoles are clamped to their
// ranges here; values that are not numbers never get this far (the readers
// refuse them).

#include "game/behaviours/PlayerShipKeys.h"
#include "game/behaviours/PlayerShipNavigation.h"
#include "game/net/CorvaneServer.h"
#include "game/net/ServerSignalHandlers.h"
#include "game/net/SignalHandling.h"
#include "game/net/SignalMessageCrew.h"
#include "game/world/LocalPresentation.h"
#include "game/world/Simulation.h"
#include "helper/GeneralUtils.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <string_view>

namespace {

using namespace playership;

// From full reverse to five times full impulse: the throttle widget's range.
constexpr float kMinThrottle = -1.0f;
constexpr float kMaxThrottle = 5.0f;
// Turn rates are shares of the ship's full rate.
constexpr float kMaxTurn = 1.0f;
// A stick this close to the middle is resting: it must not cancel a
// click-to-turn course.
constexpr float kSteeringDeadZone = 0.01f;
// The jump drive's warp power slider is this engineering control.
constexpr int32_t kWarpPowerControl = 3;
// Ticks per unit of jump charge time.
constexpr float kJumpChargeTicks = 30.0f;
// The ten units of charge time a jump needs at full warp power.
constexpr float kJumpChargeUnits = 10.0f;
// Damage and upgrades stretch or shorten the charge, within these bounds, so
// a wrecked or absurdly upgraded drive never divides by zero.
constexpr float kMinJumpCoeff = 0.001f;
constexpr float kMaxJumpCoeff = 10000.0f;
// The server's own screen ramps its jump sound up as if this many seconds
// were left, until the countdown takes over.
constexpr int32_t kJumpSoundRampSeconds = 20;

float ClampTurn(float value)
{
    return std::clamp(value, -kMaxTurn, kMaxTurn);
}

bool BeyondDeadZone(float value)
{
    return std::fabs(value) > kSteeringDeadZone;
}

// 5.
void HandleThrottle(QelNetworkMessage& message, SpaceObject* ship)
{
    ThrottleSignal throttle;
    if (!ReadSignalOrReport(message, throttle, kServerSignalHandler) || !ship)
        return;
    WriteFloat(ship->data_set, kPlayerThrottle, std::clamp(throttle.throttle, kMinThrottle, kMaxThrottle));
}

// 6.
void HandleReverse(QelNetworkMessage& message, SpaceObject* ship)
{
    ReverseSignal reverse;
    if (!ReadSignalOrReport(message, reverse, kServerSignalHandler) || !ship)
        return;
    WriteInt(ship->data_set, kPlayerInReverse, std::clamp(reverse.reverse, 0, 1));
}

// A deliberate turn takes the helm back from a click-to-turn course.
void CancelCourseOnTurn(SpaceObject& ship, std::initializer_list<float> turns)
{
    if (std::any_of(turns.begin(), turns.end(), BeyondDeadZone))
        WriteInt(ship.data_set, kSteeringToDirFlag, 0);
}

// 7 and 9: all three axes; the steering type says how the behaviour reads them.
template <typename Signal>
void HandleThreeAxisSteering(QelNetworkMessage& message, SpaceObject* ship, const char* steeringType)
{
    Signal steer;
    if (!ReadSignalOrReport(message, steer, kServerSignalHandler) || !ship)
        return;
    const float roll = ClampTurn(steer.roll), pitch = ClampTurn(steer.pitch), yaw = ClampTurn(steer.yaw);
    WriteFloat(ship->data_set, kPlayerSRoll, roll);
    WriteFloat(ship->data_set, kPlayerSPitch, pitch);
    WriteFloat(ship->data_set, kPlayerSYaw, yaw);
    WriteString(ship->data_set, kSteeringType, steeringType);
    CancelCourseOnTurn(*ship, {roll, pitch, yaw});
}

// 8: yaw and pitch only.
void HandleSteering2D(QelNetworkMessage& message, SpaceObject* ship)
{
    Steer2DSignal steer;
    if (!ReadSignalOrReport(message, steer, kServerSignalHandler) || !ship)
        return;
    const float pitch = ClampTurn(steer.pitch), yaw = ClampTurn(steer.yaw);
    WriteFloat(ship->data_set, kPlayerSYaw, yaw);
    WriteFloat(ship->data_set, kPlayerSPitch, pitch);
    WriteString(ship->data_set, kSteeringType, kSteering2D);
    CancelCourseOnTurn(*ship, {yaw, pitch});
}

// Click-to-turn: the ship steers towards the point on the plane.
void SetCourseTowards(SpaceObject& ship, const SelectObjectSignal& selection)
{
    DeclareFloat(ship.data_set, kSteerToDirDX, selection.x - ship.pos.x);
    DeclareFloat(ship.data_set, kSteerToDirDZ, selection.z - ship.pos.z);
    DeclareInt(ship.data_set, kSteerToDirDY, 0);
    DeclareInt(ship.data_set, kSteeringToDirFlag, 1);
}

// The ship's keys a console's selection may set. Other selections (the
// science console's scan tabs name their tab) only tell the mission: a
// console must not write any other key of its ship, such as a drive
// coefficient the move step multiplies by.
constexpr std::array kSelectionKeys{shipkeys::kWeaponTargetUid, shipkeys::kScienceTargetUid,
                                    shipkeys::kCommsTargetUid, shipkeys::kNormalTargetUid};

const DataKey* FindSelectionKey(std::string_view name)
{
    const auto found = std::find_if(kSelectionKeys.begin(), kSelectionKeys.end(),
                                    [name](const DataKey& key) { return key.name == name; });
    return found == kSelectionKeys.end() ? nullptr : &*found;
}

// The selected object, or 0 (an int) when it is gone.
void RecordSelection(SpaceObject& ship, const DataKey& key, uint64_t objectId, bool exists)
{
    if (exists)
        WriteUInt64(ship.data_set, key, objectId);
    else
        WriteInt(ship.data_set, key, 0);
}

// 13: a target selection is kept under its key; a helm selection sets a
// course, any other goes to the mission.
void HandleSelectObject(QelNetworkMessage& message, const SignalSender& sender)
{
    SelectObjectSignal selection;
    if (!ReadSignalOrReport(message, selection, kServerSignalHandler) || !sender.ship)
        return;
    SpaceObject& ship = *sender.ship;
    const bool exists = selection.objectId != 0 && sender.world->SpaceObjectExists(selection.objectId);
    if (const DataKey* key = FindSelectionKey(selection.dataSetKey))
        RecordSelection(ship, *key, selection.objectId, exists);
    if (LowerCaseAscii(selection.kind).find("helm") != std::string::npos)
        return SetCourseTowards(ship, selection);
    EventMessage event;
    event.tag = "select_space_object";
    event.sub_tag = selection.kind;
    event.value_tag = selection.value;
    event.extra_tag = selection.dataSetKey;
    event.extra_extra_tag = selection.extra;
    event.origin_id = ship.uniqueID;
    event.selected_id = selection.objectId;
    event.source_point = exists ? ship.pos : glm::vec3(selection.x, selection.y, selection.z);
    gServer->RaiseEventFromClient(sender.clientId, event);
}

// 85: a ship undocked, not already jumping, with power on its jump drive
// starts charging; the jump itself is the player-ship behaviour's. The
// server screen's jump sound ramp starts with the render manager.
void HandleJump(QelNetworkMessage& message, SpaceObject* ship, Simulation* world)
{
    JumpSignal jump;
    if (!ReadSignalOrReport(message, jump, kServerSignalHandler) || !ship)
        return;
    if (ReadFloat(ship->data_set, kJumpEnd) != 0.0f || ReadString(ship->data_set, kDockState) != kDockStateUndocked)
        return;
    const float warpPower = ReadFloat(ship->data_set, kEngControlValue, kWarpPowerControl);
    if (!(warpPower > 0.0f))
        return;
    const float coeff = ReadFloat(ship->data_set, kJumpDamageCoeff) * ReadFloat(ship->data_set, kJumpUpgradeCoeff);
    // A NaN product is no bound at all: it takes the slowest charge.
    const float bounded = std::isnan(coeff) ? kMinJumpCoeff : std::clamp(coeff, kMinJumpCoeff, kMaxJumpCoeff);
    const int64_t now = world->TickCount();
    WriteFloat(ship->data_set, kJumpDist, jump.distance);
    WriteFloat(ship->data_set, kJumpDir, jump.direction);
    WriteInt64(ship->data_set, kJumpStart, now);
    WriteFloat(ship->data_set, kJumpEnd,
               static_cast<float>(now) + kJumpChargeUnits / warpPower / bounded * kJumpChargeTicks);
    if (LocalPresentation* presentation = world->Presentation())
        presentation->PlayJumpSound(kJumpSoundRampSeconds);
}

// 93: the hop itself is the player ship's.
void HandleQuickJump(QelNetworkMessage& message, SpaceObject* ship, Simulation* world)
{
    QuickJumpSignal quickJump;
    if (ReadSignalOrReport(message, quickJump, kServerSignalHandler) && ship)
        QuickJump(*ship, *world, quickJump.direction);
}

}  // namespace

bool HandleServerHelmSignal(uint16_t code, QelNetworkMessage& message, const SignalSender& sender)
{
    switch (code) {
    case SIGNAL_MESS_THROTTLE: HandleThrottle(message, sender.ship); return true;
    case SIGNAL_MESS_REVERSE: HandleReverse(message, sender.ship); return true;
    case SIGNAL_MESS_STEER: HandleThreeAxisSteering<SteerSignal>(message, sender.ship, kSteeringConstrained); return true;
    case SIGNAL_MESS_STEER_2D: HandleSteering2D(message, sender.ship); return true;
    case SIGNAL_MESS_STEER_FREE: HandleThreeAxisSteering<SteerFreeSignal>(message, sender.ship, "Free"); return true;
    case SIGNAL_MESS_SELECT_OBJECT: HandleSelectObject(message, sender); return true;
    case SIGNAL_MESS_JUMP: HandleJump(message, sender.ship, sender.world); return true;
    case SIGNAL_MESS_QUICK_JUMP: HandleQuickJump(message, sender.ship, sender.world); return true;
    default: return false;
    }
}
