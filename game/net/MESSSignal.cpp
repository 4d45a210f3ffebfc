// The server's handler of "signal": every command a console sends. Only a
// console with a record is heard; its commands act on the ship its record
// names. The connection codes and the end of a console's song are handled
// here, the helm's in its family; a code that no family takes leaves the
// server unchanged.

#include "game/net/ClientRecord.h"
#include "game/net/CorvaneServer.h"
#include "game/net/DataRequests.h"
#include "game/net/MessageHooks.h"
#include "game/net/NetworkIds.h"
#include "game/net/ServerSignalHandlers.h"
#include "game/net/SignalHandling.h"
#include "game/world/Simulation.h"

namespace {

// 4: keeps the console from being dropped for silence.
void HandleHeartbeat(QelNetworkMessage& message, const SignalSender& sender)
{
    HeartbeatSignal heartbeat;
    if (ReadSignalOrReport(message, heartbeat, kServerSignalHandler))
        gServer->ResetClientIdle(sender.clientId);
}

// 33: the name gives the console its role (science, main screen, game master).
void HandleConsoleName(QelNetworkMessage& message, const SignalSender& sender)
{
    ConsoleNameSignal name;
    if (ReadSignalOrReport(message, name, kServerSignalHandler))
        sender.record.SetConsoleName(name.name);
}

// 102: a console echoes the key of a ping the server sent it.
void HandlePingEcho(QelNetworkMessage& message, const SignalSender& sender)
{
    PingSignal echo;
    if (ReadSignalOrReport(message, echo, kServerSignalHandler))
        gServer->ApplyPingEcho(sender.clientId, echo.key);
}

// 103. The server screen's client list notices the new name by itself when
// the render manager raises its change flag for it.
void HandleMachineName(QelNetworkMessage& message, const SignalSender& sender)
{
    MachineNameSignal name;
    if (ReadSignalOrReport(message, name, kServerSignalHandler))
        sender.record.machineName = name.name;
}

// 55: the console tells the mission what it did ("client_connected", ...).
void HandleClientChange(QelNetworkMessage& message, const SignalSender& sender)
{
    ClientChangeSignal change;
    if (!ReadSignalOrReport(message, change, kServerSignalHandler))
        return;
    EventMessage event;
    event.tag = "client_change";
    event.sub_tag = change.change;
    gServer->RaiseEventFromClient(sender.clientId, event);
}

// 62: the console's window size, on connecting and whenever it changes.
void HandleScreenSize(QelNetworkMessage& message, const SignalSender& sender)
{
    ScreenSizeSignal size;
    if (ReadSignalOrReport(message, size, kServerSignalHandler))
        gServer->RaiseScreenSizeEvent(sender.clientId, size.width, size.height);
}

// 52: the console's music finished a track.
void HandleSongEnded(QelNetworkMessage& message, const SignalSender& sender)
{
    SongEndedSignal ended;
    if (ReadSignalOrReport(message, ended, kServerSignalHandler))
        gServer->SongEnded(sender.clientId);
}

bool HandleServerConnectionSignal(uint16_t code, QelNetworkMessage& message, const SignalSender& sender)
{
    switch (code) {
    case SIGNAL_MESS_HEARTBEAT: HandleHeartbeat(message, sender); return true;
    case SIGNAL_MESS_CONSOLE_NAME: HandleConsoleName(message, sender); return true;
    case SIGNAL_MESS_PING: HandlePingEcho(message, sender); return true;
    case SIGNAL_MESS_MACHINE_NAME: HandleMachineName(message, sender); return true;
    case SIGNAL_MESS_CLIENT_CHANGE: HandleClientChange(message, sender); return true;
    case SIGNAL_MESS_SCREEN_SIZE: HandleScreenSize(message, sender); return true;
    case SIGNAL_MESS_SONG_ENDED: HandleSongEnded(message, sender); return true;
    default: return false;
    }
}

// The ship the record names, when it is in the world.
SpaceObject* ShipOf(Simulation* world, const ClientRecord& record)
{
    if (!world || !IsSpaceObjectId(record.shipId))
        return nullptr;
    return world->GetSpaceObject(record.shipId);
}

// The crew's commands, from a remote console or the host's own.
void HandleCommandSignal(uint16_t code, QelNetworkMessage& message, const SignalSender& from)
{
    if (HandleServerGridSignal(code, message, from) || HandleServerRetainedGUISignal(code, message, from))
        return;
    if (HandleServerHelmSignal(code, message, from) || HandleServerWeaponsSignal(code, message, from) ||
        HandleServerEngineeringSignal(code, message, from))
        return;
    if (HandleServerConsoleSignal(code, message, from) || HandleServerScienceSignal(code, message, from) ||
        HandleServerDockingSignal(code, message, from))
        return;
    HandleServerMissionSignal(code, message, from);
    // Not taken yet: 93 (the quick jump).
}

// The host's own console holds the world already: it has no connection to
// keep and asks for no objects, so only its commands are heard.
void HandleHostSignal(QelNetworkMessage& message)
{
    uint16_t code = 0;
    if (!ReadSignalCode(message, code))
        return;
    ClientRecord& record = gServer->HostRecord();
    Simulation* world = gServer->World();
    HandleCommandSignal(code, message, SignalSender{kHostClientId, record, ShipOf(world, record), world});
}

}  // namespace

void ServerMessageHookSignal(QelNetworkMessage* message, uint64_t sender)
{
    if (gServer && sender == kHostClientId)
        return HandleHostSignal(*message);
    // Only the transport's ids name a console; anything else is no one's.
    if (!gServer || !VALID_CLIENT(sender))
        return;
    ClientRecord* record = gServer->FindClient(sender);
    uint16_t code = 0;
    if (!record || !ReadSignalCode(*message, code))
        return;
    Simulation* world = gServer->World();
    const SignalSender from{sender, *record, ShipOf(world, *record), world};
    if (HandleServerConnectionSignal(code, *message, from))
        return;
    if (code == SIGNAL_MESS_FULL_OBJECT_REQUEST) {
        AnswerFullObjectRequest(*message, sender);
        return;
    }
    if (code == SIGNAL_MESS_SHIP_RECORD) {
        AnswerShipRecordRequest(*message, sender);
        return;
    }
    if (code == SIGNAL_MESS_ASSET_DATA) {
        AnswerAssetDataRequest(*message, sender);
        return;
    }
    HandleCommandSignal(code, *message, from);
}

namespace {

const ServerHookRegistration signalHook("signal", ServerMessageHookSignal);

}  // namespace
