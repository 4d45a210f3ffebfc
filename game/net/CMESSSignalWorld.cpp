// The console's "signal" family for its ship and its mirror of the world:
// which ship it controls, objects removed, a new or stopped game, single
// values, the pause and red alert states, beam damage, the server's tick and
// the ship definitions the console asked for.

#include "game/net/ClientSignalHandlers.h"
#include "game/net/ConsoleScreen.h"
#include "game/net/NetworkIds.h"
#include "game/net/SignalHandling.h"
#include "game/world/ShipData.h"
#include "game/world/Simulation.h"

#include <cmath>

namespace {

// Widest throttle a server may set on a console's ship: anything beyond is
// no setting but a fault of the sender.
constexpr float kMaxThrottleFromServer = 100.0f;
// Turn rates are shares of the full rate.
constexpr float kMaxTurnFromServer = 1.0f;
// The documentation text of values written during play.
constexpr const char* kPlayDoc = "a";

bool Within(float value, float limit)
{
    return std::fabs(value) <= limit;
}

void ReportLimits(const QelNetworkMessage& message)
{
    ReportRejectedMessage(kClientSignalHandler, message, "a value breaks the limits of its signal code");
}

// The ship this console controls, when it is present here.
SpaceObject* SubjectShip(const Simulation& world)
{
    if (!IsSpaceObjectId(world.subjectID))
        return nullptr;
    return world.GetSpaceObject(world.subjectID);
}

// 0 and 1. The radar re-centres on the new ship with the render manager.
void HandleOwnShip(QelNetworkMessage& message, bool alternative)
{
    MyShipIdSignal own;
    if (!ReadSignalOrReport(message, own, kClientSignalHandler))
        return;
    Simulation* world = ConsoleMirrorWorld();
    if (!world)
        return;
    (alternative ? world->altSubjectID : world->subjectID) = own.shipId;
}

// 5, 6 and 7: the server sets the helm of this console's ship directly.
void HandleThrottle(QelNetworkMessage& message)
{
    ThrottleSignal throttle;
    if (!ReadSignalOrReport(message, throttle, kClientSignalHandler))
        return;
    if (!Within(throttle.throttle, kMaxThrottleFromServer))
        return ReportLimits(message);
    Simulation* world = ConsoleMirrorWorld();
    if (SpaceObject* ship = world ? SubjectShip(*world) : nullptr)
        ship->data_set.SetFloat("playerThrottle", throttle.throttle, 0, kPlayDoc);
}

void HandleReverse(QelNetworkMessage& message)
{
    ReverseSignal reverse;
    if (!ReadSignalOrReport(message, reverse, kClientSignalHandler))
        return;
    Simulation* world = ConsoleMirrorWorld();
    if (SpaceObject* ship = world ? SubjectShip(*world) : nullptr)
        ship->data_set.SetInt("playerInReverse", reverse.reverse, 0, kPlayDoc);
}

void HandleSteer(QelNetworkMessage& message)
{
    SteerSignal steer;
    if (!ReadSignalOrReport(message, steer, kClientSignalHandler))
        return;
    if (!Within(steer.roll, kMaxTurnFromServer) || !Within(steer.pitch, kMaxTurnFromServer) ||
        !Within(steer.yaw, kMaxTurnFromServer))
        return ReportLimits(message);
    Simulation* world = ConsoleMirrorWorld();
    SpaceObject* ship = world ? SubjectShip(*world) : nullptr;
    if (!ship)
        return;
    ship->data_set.SetFloat("playerSRoll", steer.roll, 0, kPlayDoc);
    ship->data_set.SetFloat("playerSPitch", steer.pitch, 0, kPlayDoc);
    ship->data_set.SetFloat("playerSYaw", steer.yaw, 0, kPlayDoc);
}

// 12: an object not present here is nothing to remove.
void HandleObjectRemoved(QelNetworkMessage& message)
{
    ObjectRemovedSignal removed;
    if (!ReadSignalOrReport(message, removed, kClientSignalHandler))
        return;
    if (Simulation* world = ConsoleMirrorWorld())
        world->DeleteSpaceObject(removed.objectId);
}

// 23: a blank world, and no story dialog waits; the screen forgets what it
// kept of the old one (comms and grid info, 3D effects, the 2D view) and what
// its 3D view kept of the old world's objects.
void HandleNewSimulation(QelNetworkMessage& message, ConsoleScreen* screen)
{
    NewSimulationSignal signal;
    if (!ReadSignalOrReport(message, signal, kClientSignalHandler))
        return;
    if (Simulation* world = ConsoleMirrorWorld()) {
        world->Clear();
        world->Reset(false, "");
    }
    if (screen) {
        screen->StoryDialogs().Clear();
        screen->ClearForNewWorld();
    }
}

// 24.
void HandleSimulationStopped(QelNetworkMessage& message)
{
    SimulationStoppedSignal signal;
    if (!ReadSignalOrReport(message, signal, kClientSignalHandler))
        return;
    if (Simulation* world = ConsoleMirrorWorld())
        world->Clear();
}

// 31: an object not present here takes nothing.
void HandleFloatValue(QelNetworkMessage& message)
{
    FloatValueToClientSignal value;
    if (!ReadSignalOrReport(message, value, kClientSignalHandler))
        return;
    Simulation* world = ConsoleMirrorWorld();
    if (SpaceObject* object = world ? world->GetSpaceObject(value.objectId) : nullptr)
        object->data_set.SetFloat(value.key, value.value, value.index, kPlayDoc);
}

// 58. The screen size answer that follows comes with the presentation
// signals (it needs the graphics service).
void HandlePauseState(QelNetworkMessage& message)
{
    PauseStateSignal pause;
    if (!ReadSignalOrReport(message, pause, kClientSignalHandler))
        return;
    if (Simulation* world = ConsoleMirrorWorld())
        world->paused = pause.paused != 0;
}

// 59.
void HandleRedAlert(QelNetworkMessage& message)
{
    RedAlertSignal alert;
    if (!ReadSignalOrReport(message, alert, kClientSignalHandler))
        return;
    if (Simulation* world = ConsoleMirrorWorld())
        world->redAlertState = alert.redAlert;
}

// 71.
void HandleBeamDamage(QelNetworkMessage& message)
{
    BeamDamageSignal damage;
    if (!ReadSignalOrReport(message, damage, kClientSignalHandler))
        return;
    Simulation* world = ConsoleMirrorWorld();
    if (!world)
        return;
    world->playerShipBeamDamageCoeff = damage.playerShip;
    world->npcShipBeamDamageCoeff = damage.computerShip;
    world->stationShipBeamDamageCoeff = damage.station;
}

// 98.
void HandleSimulationTick(QelNetworkMessage& message)
{
    SimulationTickSignal tick;
    if (!ReadSignalOrReport(message, tick, kClientSignalHandler))
        return;
    if (Simulation* world = ConsoleMirrorWorld())
        world->clock.time_tick_counter = static_cast<int64_t>(tick.tick);
}

// 65: a ship definition the console asked for, in the record's wire form. A
// key known already keeps its record; a malformed one is counted and dropped
// whole by the definitions' reader.
void HandleShipRecord(QelNetworkMessage& message)
{
    if (!ConsoleMirrorWorld())
        return;
    if (ShipData::Instance().UnPackRecordToData(message) == ShipRecordReceipt::Malformed)
        ReportRejectedMessage(kClientSignalHandler, message, "a ship record breaks its wire form");
}

}  // namespace

bool HostsAuthoritativeWorld()
{
    return theSimulation && theSimulation->serverFlag;
}

Simulation* ConsoleMirrorWorld()
{
    return HostsAuthoritativeWorld() ? nullptr : theSimulation;
}

bool HandleClientWorldSignal(uint16_t code, QelNetworkMessage& message, CorvaneClient* client)
{
    ConsoleScreen* const screen = ClientConsoleScreen(client);
    switch (code) {
    case SIGNAL_MESS_MY_SHIP_ID: HandleOwnShip(message, false); return true;
    case SIGNAL_MESS_MY_ALT_SHIP_ID: HandleOwnShip(message, true); return true;
    case SIGNAL_MESS_THROTTLE: HandleThrottle(message); return true;
    case SIGNAL_MESS_REVERSE: HandleReverse(message); return true;
    case SIGNAL_MESS_STEER: HandleSteer(message); return true;
    case SIGNAL_MESS_OBJECT_REMOVED: HandleObjectRemoved(message); return true;
    case SIGNAL_MESS_NEW_SIMULATION: HandleNewSimulation(message, screen); return true;
    case SIGNAL_MESS_SIMULATION_STOPPED: HandleSimulationStopped(message); return true;
    case SIGNAL_MESS_FLOAT_VALUE: HandleFloatValue(message); return true;
    case SIGNAL_MESS_PAUSE_STATE: HandlePauseState(message); return true;
    case SIGNAL_MESS_RED_ALERT: HandleRedAlert(message); return true;
    case SIGNAL_MESS_SET_BEAM_DAMAGE: HandleBeamDamage(message); return true;
    case SIGNAL_MESS_SIMULATION_TICK: HandleSimulationTick(message); return true;
    case SIGNAL_MESS_SHIP_RECORD: HandleShipRecord(message); return true;
    default: return false;
    }
}
