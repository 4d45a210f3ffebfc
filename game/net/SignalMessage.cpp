#include "game/net/SignalMessage.h"

#include "game/net/NetworkIds.h"
#include "game/net/ReadMessageFields.h"
#include "game/world/SimulationClock.h"

#include <algorithm>
#include <cmath>
#include <iterator>

bool ShipIdFitsSignal(uint64_t id)
{
    return IsNoneOrSpaceObjectId(id);
}

bool AllFinite(std::initializer_list<float> values)
{
    for (float value : values)
        if (!std::isfinite(value))
            return false;
    return true;
}

void WriteSignalCode(QelNetworkMessage& message, SignalMessageCode code)
{
    message.WriteInt16(code);
}

bool ReadSignalCode(QelNetworkMessage& message, uint16_t& code)
{
    message.ReadInt16(code);
    return !message.IsBad();
}

void WriteSignal(QelNetworkMessage& message, const FullObjectRequestSignal& signal)
{
    WriteSignalCode(message, signal.kCode);
    for (uint64_t id : signal.objectIds) {
        message.WriteInt64(id);
    }
    message.WriteInt64(0);  // ends the list
}

void WriteSignal(QelNetworkMessage& message, const ObjectRemovedSignal& signal)
{
    WriteSignalCode(message, signal.kCode);
    message.WriteInt64(signal.objectId);
}

void WriteSignal(QelNetworkMessage& message, const PauseStateSignal& signal)
{
    WriteSignalCode(message, signal.kCode);
    message.WriteInt32(signal.paused);
}

void WriteSignal(QelNetworkMessage& message, const ShipRecordRequestSignal& signal)
{
    WriteSignalCode(message, signal.kCode);
    message.WriteString(signal.shipKey);
}

void WriteSignal(QelNetworkMessage& message, const AutoCinematicStarsSignal& signal)
{
    WriteSignalCode(message, signal.kCode);
    message.WriteInt64(signal.objectId);
}

void WriteSignal(QelNetworkMessage& message, const JumpEffectSignal& signal)
{
    WriteSignalCode(message, signal.kCode);
    message.WriteInt64(static_cast<uint64_t>(signal.tick)).WriteInt64(signal.effectSeconds);
}

void WriteSignal(QelNetworkMessage& message, const JumpTimeSignal& signal)
{
    WriteSignalCode(message, signal.kCode);
    message.WriteInt32(signal.seconds);
}

void WriteSignal(QelNetworkMessage& message, const DamageAmountSignal& signal)
{
    WriteSignalCode(message, signal.kCode);
    message.WriteFloat(signal.damage);
}

void WriteSignal(QelNetworkMessage& message, const StringMapSignal& signal)
{
    WriteSignalCode(message, signal.kCode);
    message.WriteString(signal.key);
    message.WriteString(signal.value);
}

void WriteSignal(QelNetworkMessage& message, const PingSignal& signal)
{
    WriteSignalCode(message, signal.kCode);
    message.WriteInt32(signal.key);
}

// Reads ids until the terminating 0. Every id must name a space object: one
// id of another kind spoils the whole request.
bool ReadSignal(QelNetworkMessage& message, FullObjectRequestSignal& signal)
{
    signal.objectIds.clear();
    for (;;) {
        uint64_t id = 0;
        message.ReadInt64(id);
        if (message.IsBad() || id == 0) {
            break;
        }
        if (IsSpaceObjectId(id)) {
            signal.objectIds.push_back(id);
        }
    }
    return !message.IsBad();
}

bool ReadSignal(QelNetworkMessage& message, ObjectRemovedSignal& signal)
{
    message.ReadInt64(signal.objectId);
    return !message.IsBad() && IsSpaceObjectId(signal.objectId);
}

bool ReadSignal(QelNetworkMessage& message, PauseStateSignal& signal)
{
    message.ReadInt32(signal.paused);
    return !message.IsBad();
}

bool ReadSignal(QelNetworkMessage& message, ShipRecordRequestSignal& signal)
{
    message.ReadString(signal.shipKey);
    return !message.IsBad() && !signal.shipKey.empty();
}

bool ReadSignal(QelNetworkMessage& message, AutoCinematicStarsSignal& signal)
{
    message.ReadInt64(signal.objectId);
    return !message.IsBad() && IsNoneOrSpaceObjectId(signal.objectId);
}

bool ReadSignal(QelNetworkMessage& message, JumpEffectSignal& signal)
{
    return ReadMessageFields(message, signal.tick, signal.effectSeconds) &&
           signal.effectSeconds <= JumpEffectSignal::kMaxEffectSeconds;
}

bool ReadSignal(QelNetworkMessage& message, JumpTimeSignal& signal)
{
    return ReadMessageFields(message, signal.seconds) && signal.seconds >= 0;
}

bool ReadSignal(QelNetworkMessage& message, DamageAmountSignal& signal)
{
    return ReadMessageFields(message, signal.damage) && std::isfinite(signal.damage) && signal.damage >= 0.0f;
}

bool ReadSignal(QelNetworkMessage& message, StringMapSignal& signal)
{
    message.ReadString(signal.key).ReadString(signal.value);
    return !message.IsBad() && !signal.key.empty();
}

bool ReadSignal(QelNetworkMessage& message, PingSignal& signal)
{
    message.ReadInt32(signal.key);
    return !message.IsBad();
}

void WriteSignal(QelNetworkMessage& message, const ThrottleSignal& signal)
{
    WriteSignalCode(message, signal.kCode);
    message.WriteFloat(signal.throttle);
}

void WriteSignal(QelNetworkMessage& message, const ReverseSignal& signal)
{
    WriteSignalCode(message, signal.kCode);
    message.WriteInt32(signal.reverse);
}

void WriteSignal(QelNetworkMessage& message, const Steer2DSignal& signal)
{
    WriteSignalCode(message, signal.kCode);
    message.WriteFloat(signal.yaw).WriteFloat(signal.pitch);
}

void WriteSignal(QelNetworkMessage& message, const SelectObjectSignal& signal)
{
    WriteSignalCode(message, signal.kCode);
    message.WriteInt64(signal.objectId);
    message.WriteString(signal.kind).WriteString(signal.value).WriteString(signal.dataSetKey);
    message.WriteString(signal.extra);
    message.WriteFloat(signal.x).WriteFloat(signal.y).WriteFloat(signal.z);
}

void WriteSignal(QelNetworkMessage& message, const FloatValueToClientSignal& signal)
{
    WriteSignalCode(message, signal.kCode);
    message.WriteInt64(signal.objectId).WriteString(signal.key).WriteInt32(signal.index);
    message.WriteFloat(signal.value);
}

void WriteSignal(QelNetworkMessage& message, const ConsoleNameSignal& signal)
{
    WriteSignalCode(message, signal.kCode);
    message.WriteString(signal.name);
}

void WriteSignal(QelNetworkMessage& message, const RedAlertSignal& signal)
{
    WriteSignalCode(message, signal.kCode);
    message.WriteInt32(signal.redAlert);
}

void WriteSignal(QelNetworkMessage& message, const BeamDamageSignal& signal)
{
    WriteSignalCode(message, signal.kCode);
    message.WriteFloat(signal.playerShip).WriteFloat(signal.computerShip).WriteFloat(signal.station);
}

void WriteSignal(QelNetworkMessage& message, const JumpSignal& signal)
{
    WriteSignalCode(message, signal.kCode);
    message.WriteFloat(signal.distance).WriteFloat(signal.direction);
}

void WriteSignal(QelNetworkMessage& message, const ClientStringRequestSignal& signal)
{
    WriteSignalCode(message, signal.kCode);
    message.WriteString(signal.key);
}

void WriteSignal(QelNetworkMessage& message, const ClientStringSignal& signal)
{
    WriteSignalCode(message, signal.kCode);
    message.WriteString(signal.key).WriteString(signal.value);
}

void WriteSignal(QelNetworkMessage& message, const SetClientStringSignal& signal)
{
    WriteSignalCode(message, signal.kCode);
    message.WriteString(signal.key).WriteString(signal.value);
}

void WriteSignal(QelNetworkMessage& message, const SimulationTickSignal& signal)
{
    WriteSignalCode(message, signal.kCode);
    message.WriteInt64(signal.tick);
}

void WriteSignal(QelNetworkMessage& message, const MachineNameSignal& signal)
{
    WriteSignalCode(message, signal.kCode);
    message.WriteString(signal.name);
}

void WriteSignal(QelNetworkMessage& message, const ClientChangeSignal& signal)
{
    WriteSignalCode(message, signal.kCode);
    message.WriteString(signal.change);
}

void WriteSignal(QelNetworkMessage& message, const ScreenSizeSignal& signal)
{
    WriteSignalCode(message, signal.kCode);
    message.WriteInt32(signal.width).WriteInt32(signal.height);
}

bool ReadSignal(QelNetworkMessage& message, ThrottleSignal& signal)
{
    message.ReadInt32(signal.throttle);
    return !message.IsBad() && AllFinite({signal.throttle});
}

bool ReadSignal(QelNetworkMessage& message, ReverseSignal& signal)
{
    message.ReadInt32(signal.reverse);
    return !message.IsBad();
}

bool ReadSignal(QelNetworkMessage& message, Steer2DSignal& signal)
{
    message.ReadInt32(signal.yaw).ReadInt32(signal.pitch);
    return !message.IsBad() && AllFinite({signal.yaw, signal.pitch});
}

// The key names where the choice is kept, so it cannot be empty; the point
// may become a course, so it must be a place.
bool ReadSignal(QelNetworkMessage& message, SelectObjectSignal& signal)
{
    message.ReadInt64(signal.objectId);
    message.ReadString(signal.kind).ReadString(signal.value).ReadString(signal.dataSetKey);
    message.ReadString(signal.extra);
    message.ReadInt32(signal.x).ReadInt32(signal.y).ReadInt32(signal.z);
    return !message.IsBad() && IsNoneOrSpaceObjectId(signal.objectId) && !signal.dataSetKey.empty() &&
           AllFinite({signal.x, signal.y, signal.z});
}

bool ReadSignal(QelNetworkMessage& message, FloatValueToClientSignal& signal)
{
    message.ReadInt64(signal.objectId).ReadString(signal.key).ReadInt32(signal.index);
    message.ReadInt32(signal.value);
    return !message.IsBad() && IsSpaceObjectId(signal.objectId) && !signal.key.empty();
}

bool ReadSignal(QelNetworkMessage& message, ConsoleNameSignal& signal)
{
    message.ReadString(signal.name);
    return !message.IsBad();
}

bool ReadSignal(QelNetworkMessage& message, RedAlertSignal& signal)
{
    message.ReadInt32(signal.redAlert);
    return !message.IsBad();
}

// A negative coefficient would heal what a beam hits.
bool ReadSignal(QelNetworkMessage& message, BeamDamageSignal& signal)
{
    message.ReadInt32(signal.playerShip).ReadInt32(signal.computerShip).ReadInt32(signal.station);
    return !message.IsBad() && AllFinite({signal.playerShip, signal.computerShip, signal.station}) &&
           signal.playerShip >= 0.0f && signal.computerShip >= 0.0f && signal.station >= 0.0f;
}

bool ReadSignal(QelNetworkMessage& message, JumpSignal& signal)
{
    message.ReadInt32(signal.distance).ReadInt32(signal.direction);
    return !message.IsBad() && AllFinite({signal.distance, signal.direction});
}

bool ReadSignal(QelNetworkMessage& message, ClientStringRequestSignal& signal)
{
    message.ReadString(signal.key);
    return !message.IsBad() && !signal.key.empty();
}

bool ReadSignal(QelNetworkMessage& message, ClientStringSignal& signal)
{
    message.ReadString(signal.key).ReadString(signal.value);
    return !message.IsBad();
}

bool ReadSignal(QelNetworkMessage& message, SetClientStringSignal& signal)
{
    message.ReadString(signal.key).ReadString(signal.value);
    return !message.IsBad() && !signal.key.empty();
}

// The console's clock counts in signed 64 bits.
bool ReadSignal(QelNetworkMessage& message, SimulationTickSignal& signal)
{
    message.ReadInt64(signal.tick);
    return !message.IsBad() && signal.tick <= static_cast<uint64_t>(SimulationClock::kLatestTick);
}

bool ReadSignal(QelNetworkMessage& message, MachineNameSignal& signal)
{
    message.ReadString(signal.name);
    return !message.IsBad();
}

bool ReadSignal(QelNetworkMessage& message, ClientChangeSignal& signal)
{
    return ReadMessageFields(message, signal.change);
}

bool ReadSignal(QelNetworkMessage& message, ScreenSizeSignal& signal)
{
    const auto fits = [](int32_t pixels) { return pixels >= 1 && pixels <= ScreenSizeSignal::kMaxPixels; };
    return ReadMessageFields(message, signal.width, signal.height) && fits(signal.width) && fits(signal.height);
}

// ---- Signals the mission script sends ----

void WriteSignal(QelNetworkMessage& message, const SpeechBubbleSignal& signal)
{
    WriteSignalCode(message, signal.kCode);
    message.WriteInt64(signal.objectId).WriteInt32(signal.seconds);
    message.WriteString(signal.colour).WriteString(signal.text);
}

void WriteSignal(QelNetworkMessage& message, const WidgetListSignal& signal)
{
    WriteSignalCode(message, signal.kCode);
    message.WriteString(signal.consoleType).WriteString(signal.widgetList);
}

void WriteSignal(QelNetworkMessage& message, const GuiBoxSetRectSignal& signal)
{
    WriteSignalCode(message, signal.kCode);
    message.WriteString(signal.widgetName);
    for (float edge : signal.rects)
        message.WriteFloat(edge);
}

void WriteSignal(QelNetworkMessage& message, const SuperHyperWarpSignal& signal)
{
    WriteSignalCode(message, signal.kCode);
    message.WriteString(signal.shipHullKey).WriteInt32(signal.onOffFlag);
}

void WriteSignal(QelNetworkMessage& message, const CinematicControlSignal& signal)
{
    WriteSignalCode(message, signal.kCode);
    message.WriteInt32(signal.scriptControlsCamera).WriteInt64(signal.dollyId);
    for (float coordinate : signal.dollyPos)
        message.WriteFloat(coordinate);
    message.WriteInt64(signal.targetId);
    for (float coordinate : signal.targetPos)
        message.WriteFloat(coordinate);
}

void WriteSignal(QelNetworkMessage& message, const OptionsTransparencySignal& signal)
{
    WriteSignalCode(message, signal.kCode);
    message.WriteInt32(signal.onOffFlag);
}

void WriteSignal(QelNetworkMessage& message, const WidgetBoxStateQuerySignal& signal)
{
    WriteSignalCode(message, signal.kCode);
    message.WriteString(signal.widgetName).WriteInt32(signal.fullScreenFlag);
}

void WriteSignal(QelNetworkMessage& message, const HoldMenuSignal& signal)
{
    WriteSignalCode(message, signal.kCode);
    message.WriteInt64(signal.subject).WriteInt64(signal.object).WriteInt64(signal.extra);
    message.WriteString(signal.options);
}

bool ReadSignal(QelNetworkMessage& message, SpeechBubbleSignal& signal)
{
    return ReadMessageFields(message, signal.objectId, signal.seconds, signal.colour, signal.text) &&
           IsNoneOrSpaceObjectId(signal.objectId);
}

bool ReadSignal(QelNetworkMessage& message, WidgetListSignal& signal)
{
    return ReadMessageFields(message, signal.consoleType, signal.widgetList);
}

bool ReadSignal(QelNetworkMessage& message, GuiBoxSetRectSignal& signal)
{
    float* r = signal.rects;
    if (!ReadMessageFields(message, signal.widgetName, r[0], r[1], r[2], r[3], r[4], r[5], r[6], r[7]))
        return false;
    return std::all_of(std::begin(signal.rects), std::end(signal.rects), [](float edge) {
        return std::isfinite(edge) && std::fabs(edge) < GuiBoxSetRectSignal::kMaxMagnitude;
    });
}

bool ReadSignal(QelNetworkMessage& message, SuperHyperWarpSignal& signal)
{
    return ReadMessageFields(message, signal.shipHullKey, signal.onOffFlag);
}

bool ReadSignal(QelNetworkMessage& message, CinematicControlSignal& signal)
{
    float* dolly = signal.dollyPos;
    float* target = signal.targetPos;
    return ReadMessageFields(message, signal.scriptControlsCamera, signal.dollyId, dolly[0], dolly[1], dolly[2],
                             signal.targetId, target[0], target[1], target[2]) &&
           IsNoneOrSpaceObjectId(signal.dollyId) && IsNoneOrSpaceObjectId(signal.targetId) &&
           AllFinite({dolly[0], dolly[1], dolly[2], target[0], target[1], target[2]});
}

bool ReadSignal(QelNetworkMessage& message, OptionsTransparencySignal& signal)
{
    return ReadMessageFields(message, signal.onOffFlag);
}

bool ReadSignal(QelNetworkMessage& message, WidgetBoxStateQuerySignal& signal)
{
    return ReadMessageFields(message, signal.widgetName, signal.fullScreenFlag);
}

bool ReadSignal(QelNetworkMessage& message, HoldMenuSignal& signal)
{
    return ReadMessageFields(message, signal.subject, signal.object, signal.extra, signal.options) &&
           IsNoneOrSpaceObjectId(signal.subject) && IsNoneOrSpaceObjectId(signal.object);
}

// ---- Signals of the console screen: sounds of the world and the boxes of
// the widgets ----

void WriteSignal(QelNetworkMessage& message, const SoundEventSignal& signal)
{
    WriteSignalCode(message, signal.kCode);
    message.WriteString(signal.name).WriteFloat(signal.x).WriteFloat(signal.y).WriteFloat(signal.z);
}

void WriteSignal(QelNetworkMessage& message, const WidgetBoxStateSignal& signal)
{
    WriteSignalCode(message, signal.kCode);
    message.WriteString(signal.widgetName).WriteString(signal.screenName).WriteInt32(signal.layoutIndex);
    message.WriteInt32(signal.left).WriteInt32(signal.top).WriteInt32(signal.right).WriteInt32(signal.bottom);
}

bool ReadSignal(QelNetworkMessage& message, SoundEventSignal& signal)
{
    return ReadMessageFields(message, signal.name, signal.x, signal.y, signal.z) && !signal.name.empty() &&
           AllFinite({signal.x, signal.y, signal.z});
}

bool ReadSignal(QelNetworkMessage& message, WidgetBoxStateSignal& signal)
{
    return ReadMessageFields(message, signal.widgetName, signal.screenName, signal.layoutIndex, signal.left,
                             signal.top, signal.right, signal.bottom);
}
