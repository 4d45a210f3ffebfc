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

void AnswerMachineName(const CorvaneClient* client)
{
    if (client)
        Answer(MachineNameSignal{client->MachineName()});
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
void HandleClientStringRequest(QelNetworkMessage& message, const CorvaneClient* client)
{
    ClientStringRequestSignal request;
    if (!ReadSignalOrReport(message, request, kClientSignalHandler) || !client)
        return;
    const auto found = client->stringMap.find(request.key);
    Answer(ClientStringSignal{request.key, found == client->stringMap.end() ? std::string() : found->second});
}

// 90.
void HandleSetClientString(QelNetworkMessage& message, CorvaneClient* client)
{
    SetClientStringSignal entry;
    if (!ReadSignalOrReport(message, entry, kClientSignalHandler) || !client)
        return;
    client->stringMap[entry.key] = entry.value;
    client->StringMapChanged();
}

// 97: the nav points of an earlier server, its comms and engineering info
// and the story dialogs waiting go; the new server sends its own.
void HandleConnectReset(QelNetworkMessage& message, const CorvaneClient* client, ConsoleScreen* screen)
{
    ConnectResetSignal reset;
    if (!ReadSignalOrReport(message, reset, kClientSignalHandler))
        return;
    if (Simulation* world = ConsoleMirrorWorld())
        world->ClearNavpoints();
    if (screen) {
        screen->ClearInfoLists();
        screen->StoryDialogs().Clear();
    }
    AnswerMachineName(client);
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
void HandleMachineName(QelNetworkMessage& message, CorvaneClient* client)
{
    MachineNameSignal name;
    if (ReadSignalOrReport(message, name, kClientSignalHandler) && client)
        client->SetMachineName(name.name);
}

// 104.
void HandleMachineNameQuery(QelNetworkMessage& message, const CorvaneClient* client)
{
    MachineNameQuerySignal query;
    if (ReadSignalOrReport(message, query, kClientSignalHandler))
        AnswerMachineName(client);
}

}  // namespace

bool HandleClientConnectionSignal(uint16_t code, QelNetworkMessage& message, CorvaneClient* client)
{
    ConsoleScreen* const screen = ClientConsoleScreen(client);
    switch (code) {
    case SIGNAL_MESS_STRING_MAP: HandleStringMap(message); return true;
    case SIGNAL_MESS_REQUEST_CLIENT_STRING: HandleClientStringRequest(message, client); return true;
    case SIGNAL_MESS_SET_CLIENT_STRING: HandleSetClientString(message, client); return true;
    case SIGNAL_MESS_CONNECT_RESET: HandleConnectReset(message, client, screen); return true;
    case SIGNAL_MESS_SCREEN_SIZE_QUERY: HandleScreenSizeQuery(message); return true;
    case SIGNAL_MESS_PING: HandlePing(message); return true;
    case SIGNAL_MESS_MACHINE_NAME: HandleMachineName(message, client); return true;
    case SIGNAL_MESS_MACHINE_NAME_QUERY: HandleMachineNameQuery(message, client); return true;
    default: return false;
    }
}
