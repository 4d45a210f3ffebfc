// The console's "signal" family for the string maps and the connection: the
// server's string map mirrored here, the console's own string map that the
// mission reads and writes, the reset of a new connection, pings, the window
// size and the machine name.

#include "engine/base/QelGraphicsFactoryBase.h"
#include "game/net/ClientSignalHandlers.h"
#include "game/net/ConsoleScreen.h"
#include "game/net/CorvaneClient.h"
#include "game/net/SignalHandling.h"
#include "game/world/ServerStringMap.h"
#include "game/world/Simulation.h"

namespace {

template <typename Signal>
void Answer(const Signal& signal)
{
    QelNetworkMessage& message = StartClientMessage("signal");
    WriteSignal(message, signal);
    SendClientMessage();
}

void AnswerMachineName()
{
    if (gClient)
        Answer(MachineNameSignal{gClient->MachineName()});
}

// 87. The server's own table is the one a hosting process keeps; only a
// console's copy follows what arrives.
void HandleStringMap(QelNetworkMessage& message)
{
    StringMapSignal entry;
    if (!ReadSignalOrReport(message, entry, kClientSignalHandler))
        return;
    if (!HostsAuthoritativeWorld())
        ServerStringMap::Instance().ApplyReceived(entry.key, entry.value);
}

// 89: an absent key answers empty and is not added.
void HandleClientStringRequest(QelNetworkMessage& message)
{
    ClientStringRequestSignal request;
    if (!ReadSignalOrReport(message, request, kClientSignalHandler) || !gClient)
        return;
    const auto found = gClient->stringMap.find(request.key);
    Answer(ClientStringSignal{request.key, found == gClient->stringMap.end() ? std::string() : found->second});
}

// 90.
void HandleSetClientString(QelNetworkMessage& message)
{
    SetClientStringSignal entry;
    if (!ReadSignalOrReport(message, entry, kClientSignalHandler) || !gClient)
        return;
    gClient->stringMap[entry.key] = entry.value;
    gClient->StringMapChanged();
}

// 97: the nav points of an earlier server, its comms and engineering info
// and the story dialogs waiting go; the new server sends its own.
void HandleConnectReset(QelNetworkMessage& message)
{
    ConnectResetSignal reset;
    if (!ReadSignalOrReport(message, reset, kClientSignalHandler))
        return;
    if (Simulation* world = ConsoleMirrorWorld())
        world->ClearNavpoints();
    if (ConsoleScreen* screen = ClientConsoleScreen()) {
        screen->ClearInfoLists();
        screen->StoryDialogs().Clear();
    }
    AnswerMachineName();
}

// 22: the window's size goes back; a console without a window has none to tell.
void HandleScreenSizeQuery(QelNetworkMessage& message)
{
    ScreenSizeQuerySignal query;
    if (!ReadSignalOrReport(message, query, kClientSignalHandler) || !gGraphicsFactory)
        return;
    Answer(ScreenSizeSignal{gGraphicsFactory->GetWidth(), gGraphicsFactory->GetHeight()});
}

// 102: the key goes straight back, so the server can time the round trip.
void HandlePing(QelNetworkMessage& message)
{
    PingSignal ping;
    if (ReadSignalOrReport(message, ping, kClientSignalHandler))
        Answer(ping);
}

// 103.
void HandleMachineName(QelNetworkMessage& message)
{
    MachineNameSignal name;
    if (ReadSignalOrReport(message, name, kClientSignalHandler) && gClient)
        gClient->SetMachineName(name.name);
}

// 104.
void HandleMachineNameQuery(QelNetworkMessage& message)
{
    MachineNameQuerySignal query;
    if (ReadSignalOrReport(message, query, kClientSignalHandler))
        AnswerMachineName();
}

}  // namespace

bool HandleClientConnectionSignal(uint16_t code, QelNetworkMessage& message)
{
    switch (code) {
    case SIGNAL_MESS_STRING_MAP: HandleStringMap(message); return true;
    case SIGNAL_MESS_REQUEST_CLIENT_STRING: HandleClientStringRequest(message); return true;
    case SIGNAL_MESS_SET_CLIENT_STRING: HandleSetClientString(message); return true;
    case SIGNAL_MESS_CONNECT_RESET: HandleConnectReset(message); return true;
    case SIGNAL_MESS_SCREEN_SIZE_QUERY: HandleScreenSizeQuery(message); return true;
    case SIGNAL_MESS_PING: HandlePing(message); return true;
    case SIGNAL_MESS_MACHINE_NAME: HandleMachineName(message); return true;
    case SIGNAL_MESS_MACHINE_NAME_QUERY: HandleMachineNameQuery(message); return true;
    default: return false;
    }
}
