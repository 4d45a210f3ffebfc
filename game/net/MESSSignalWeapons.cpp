// The server's "signal" family for the weapons and fighter consoles: torpedo
// tubes, shields, the beams' frequency and speed, tuning to a target's
// shields, and a fighter's flags, torpedo and dock request. Each acts on the
// sender's ship only; values are clamped to the ranges the consoles offer.

#include "game/behaviours/PlayerShipKeys.h"
#include "game/net/CorvaneServer.h"
#include "game/net/ServerSignalHandlers.h"
#include "game/net/SignalHandling.h"
#include "game/net/SignalMessageCrew.h"
#include "game/guimodel/KeyValueParser.h"
#include "game/world/ServerStringMap.h"
#include "game/world/Simulation.h"
#include "helper/GeneralUtils.h"

#include <algorithm>
#include <string>

namespace {

using namespace playership;
using shipkeys::kTorpedoTubeCurrentType;
using shipkeys::kTorpedoTubePercentLoaded;
using shipkeys::kTorpedoTubeState;
using shipkeys::kTubeEmpty;
using shipkeys::kTubeFullyLoaded;
using shipkeys::kTubeLoaded;
using shipkeys::kTubeLoading;
using shipkeys::kTubeUnloading;

// The beams' frequencies are five, their speed settings four (0 waits for a
// full charge, 3 fires four times as fast at a quarter of the damage).
constexpr int32_t kMaxBeamFrequency = 4;
constexpr int32_t kMaxBeamSpeedSetting = 3;
// The fighter's one tube.
constexpr int32_t kFighterTube = 0;
// The two torpedo conversions.
constexpr int32_t kTorpedoToEnergy = 1;
constexpr int32_t kEnergyToTorpedo = 2;

// 15 with a tube: load, unload or fire it.
void CommandTube(SpaceObject& ship, Simulation& world, const TorpedoTubeSignal& command)
{
    if (command.tube < 0 || command.tube >= shipkeys::TorpedoTubeCount(ship.data_set))
        return;
    ObjectDataBlob& data = ship.data_set;
    const std::string state = ReadString(data, kTorpedoTubeState, command.tube);
    switch (command.action) {
    case TorpedoTubeSignal::kLoad: {
        const std::string type = ReadString(data, kTorpedoSelectedType);
        if (state == kTubeUnloading) {
            WriteString(data, kTorpedoTubeState, kTubeLoading, command.tube);
        } else if ((state == kTubeEmpty || state.empty()) && world.TorpedoTypeAvailable(ship, type)) {
            WriteString(data, kTorpedoTubeState, kTubeLoading, command.tube);
            WriteString(data, kTorpedoTubeCurrentType, type, command.tube);
        }
        return;
    }
    case TorpedoTubeSignal::kUnload:
        if (state == kTubeLoaded || state == kTubeLoading)
            WriteString(data, kTorpedoTubeState, kTubeUnloading, command.tube);
        return;
    case TorpedoTubeSignal::kFire:
        if (ReadFloat(data, kTorpedoTubePercentLoaded, command.tube) >= kTubeFullyLoaded)
            world.LaunchTorpedo(ship, command.tube, false);
        return;
    default: return;
    }
}

// 15.
void HandleTorpedoTube(QelNetworkMessage& message, SpaceObject* ship, Simulation* world)
{
    TorpedoTubeSignal command;
    if (!ReadSignalOrReport(message, command, kServerSignalHandler) || !ship)
        return;
    if (command.action == TorpedoTubeSignal::kSelectType)
        WriteString(ship->data_set, kTorpedoSelectedType, command.torpedoType);
    else
        CommandTube(*ship, *world, command);
}

// 41: the shields go up or down with their sound.
void HandleShields(QelNetworkMessage& message, SpaceObject* ship, Simulation* world)
{
    ShieldsSignal shields;
    if (!ReadSignalOrReport(message, shields, kServerSignalHandler) || !ship)
        return;
    const bool raised = shields.value != 0;
    WriteInt(ship->data_set, kShieldsRaisedFlag, raised ? 1 : 0);
    world->QueueSoundEvent(raised ? "shld_up" : "shld_down", ship->pos, 0);
}

// 68 and 69: a beam setting, clamped, and the mission hears of it.
template <typename Signal>
void HandleBeamSetting(QelNetworkMessage& message, const SignalSender& sender, const DataKey& key, int32_t max)
{
    Signal setting;
    if (!ReadSignalOrReport(message, setting, kServerSignalHandler) || !sender.ship)
        return;
    const int32_t value = std::clamp(setting.value, 0, max);
    WriteInt(sender.ship->data_set, key, value);
    EventMessage event;
    event.tag = std::string(key.name);
    event.origin_id = sender.ship->uniqueID;
    event.value_tag = std::to_string(value);
    gServer->RaiseEventFromClient(sender.clientId, event);
}

// 72: the target's own data set keeps the tuning.
void HandleShieldPiercing(QelNetworkMessage& message, SpaceObject* ship, Simulation* world)
{
    ShieldPiercingSignal piercing;
    if (!ReadSignalOrReport(message, piercing, kServerSignalHandler) || !ship)
        return;
    SpaceObject* target = world->GetSpaceObject(piercing.targetId);
    if (!target)
        return;
    WriteFloat(target->data_set, kShieldPierceAmplitude, piercing.amplitude);
    WriteFloat(target->data_set, kShieldPierceFrequency, piercing.frequency);
    WriteFloat(target->data_set, kShieldPierceOffset, piercing.offset);
}

// The energy a torpedo of the type gives back: "energy_conversion_value" of
// the type's definition in the server string map; 0 when it names none.
int32_t ConversionEnergy(const std::string& type)
{
    const std::string definition = ServerStringMap::Instance().Get(type);
    if (definition.empty())
        return 0;
    KeyValueParser parser;
    parser.Parse(definition);
    return LeadingInt(parser.Get("torp-conversion", "energy_conversion_value",
                                 "amount of energy given when you turn this torp type into energy"));
}

// A torpedo of the selected type, one the tubes do not hold, becomes energy.
// The stock is checked before the string map is read, so a console naming
// types that do not exist adds nothing to the map.
void ConvertTorpedoToEnergy(SpaceObject& ship, const Simulation& world)
{
    ObjectDataBlob& data = ship.data_set;
    const std::string type = ReadString(data, kTorpedoSelectedType);
    const int64_t stock = shipkeys::TorpedoStock(data, type, shipkeys::kTorpedoNumSuffix);
    if (stock <= 0 || !world.TorpedoTypeAvailable(ship, type))
        return;
    const int32_t energy = ConversionEnergy(type);
    if (energy <= 0)
        return;
    data.SetInt64(shipkeys::TorpedoStockName(type, shipkeys::kTorpedoNumSuffix), stock - 1, 0, std::string(kPlayDoc));
    WriteFloat(data, kEnergy, ReadFloat(data, kEnergy) + static_cast<float>(energy));
}

// Energy becomes a torpedo of the ship's conversion type while there is room.
// A cost below 0 would make energy out of nothing; such a ship converts nothing.
void ConvertEnergyToTorpedo(SpaceObject& ship)
{
    ObjectDataBlob& data = ship.data_set;
    const std::string type = ReadString(data, kTorpTypeFromEnergy);
    const int64_t cost = ReadInt(data, kEnergyToTorpCost);
    const float energy = ReadFloat(data, kEnergy);
    const int64_t stock = shipkeys::TorpedoStock(data, type, shipkeys::kTorpedoNumSuffix);
    if (type.empty() || cost < 0 || !(energy >= static_cast<float>(cost)) ||
        stock >= shipkeys::TorpedoStock(data, type, shipkeys::kTorpedoMaxSuffix))
        return;
    WriteFloat(data, kEnergy, energy - static_cast<float>(cost));
    data.SetInt64(shipkeys::TorpedoStockName(type, shipkeys::kTorpedoNumSuffix), stock + 1, 0, std::string(kPlayDoc));
}

// 73.
void HandleTorpedoConversion(QelNetworkMessage& message, SpaceObject* ship, const Simulation* world)
{
    TorpedoConversionSignal conversion;
    if (!ReadSignalOrReport(message, conversion, kServerSignalHandler) || !ship)
        return;
    if (conversion.value == kTorpedoToEnergy)
        ConvertTorpedoToEnergy(*ship, *world);
    else if (conversion.value == kEnergyToTorpedo)
        ConvertEnergyToTorpedo(*ship);
}

// 74, 75 and 76: the fighter's held buttons, each 0 or 1.
template <typename Signal>
void HandleFighterFlag(QelNetworkMessage& message, SpaceObject* ship, const DataKey& key)
{
    Signal flag;
    if (!ReadSignalOrReport(message, flag, kServerSignalHandler) || !ship)
        return;
    WriteInt(ship->data_set, key, flag.value != 0 ? 1 : 0);
}

// 77: the fighter fires its one tube, loaded or not, while it has torpedoes
// of the tube's type; a tube that names none holds the default type.
void HandleFighterTorpedo(QelNetworkMessage& message, SpaceObject* ship, Simulation* world)
{
    FighterTorpedoSignal fire;
    if (!ReadSignalOrReport(message, fire, kServerSignalHandler) || !ship || fire.value <= 0)
        return;
    std::string type = ReadString(ship->data_set, kTorpedoTubeCurrentType, kFighterTube);
    if (type.empty()) {
        type = shipkeys::kDefaultTorpedoType;
        WriteString(ship->data_set, kTorpedoTubeCurrentType, type, kFighterTube);
    }
    if (shipkeys::TorpedoStock(ship->data_set, type, shipkeys::kTorpedoNumSuffix) > 0)
        world->LaunchTorpedo(*ship, kFighterTube, true);
}

// 78.
void HandleFighterDockRequest(QelNetworkMessage& message, const SignalSender& sender)
{
    FighterDockRequestSignal request;
    if (!ReadSignalOrReport(message, request, kServerSignalHandler) || !sender.ship || request.value <= 0)
        return;
    EventMessage event;
    event.tag = "fighter_requests_dock";
    event.parent_id = sender.ship->uniqueID;
    event.source_point = sender.ship->pos;
    gServer->RaiseEventFromClient(sender.clientId, event);
}

}  // namespace

bool HandleServerWeaponsSignal(uint16_t code, QelNetworkMessage& message, const SignalSender& sender)
{
    switch (code) {
    case SIGNAL_MESS_TORPEDO_TUBE: HandleTorpedoTube(message, sender.ship, sender.world); return true;
    case SIGNAL_MESS_SHIELDS: HandleShields(message, sender.ship, sender.world); return true;
    case SIGNAL_MESS_BEAM_FREQUENCY:
        HandleBeamSetting<BeamFrequencySignal>(message, sender, kCurBeamFreq, kMaxBeamFrequency);
        return true;
    case SIGNAL_MESS_BEAM_SPEED:
        HandleBeamSetting<BeamSpeedSignal>(message, sender, kCurBeamSpeedSetting, kMaxBeamSpeedSetting);
        return true;
    case SIGNAL_MESS_SHIELD_PIERCING: HandleShieldPiercing(message, sender.ship, sender.world); return true;
    case SIGNAL_MESS_TORPEDO_CONVERSION: HandleTorpedoConversion(message, sender.ship, sender.world); return true;
    case SIGNAL_MESS_FIGHTER_BOOST: HandleFighterFlag<FighterBoostSignal>(message, sender.ship, kFighterBoostFlag); return true;
    case SIGNAL_MESS_FIGHTER_THRUST:
        HandleFighterFlag<FighterThrustSignal>(message, sender.ship, kFighterThrustFlag);
        return true;
    case SIGNAL_MESS_FIGHTER_SHOOT: HandleFighterFlag<FighterShootSignal>(message, sender.ship, kFighterShootFlag); return true;
    case SIGNAL_MESS_FIGHTER_TORPEDO: HandleFighterTorpedo(message, sender.ship, sender.world); return true;
    case SIGNAL_MESS_FIGHTER_DOCK_REQUEST: HandleFighterDockRequest(message, sender); return true;
    default: return false;
    }
}
