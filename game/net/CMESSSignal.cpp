// The console's handler of "signal": every notification the server sends. The
// families apply what they know; a code that no family takes leaves the
// console unchanged.

#include "game/net/ClientSignalHandlers.h"
#include "game/net/MessageHooks.h"
#include "game/net/SignalMessage.h"

void ClientMessageHookSignal(QelNetworkMessage* message, CorvaneClient* client)
{
    uint16_t code = 0;
    if (!ReadSignalCode(*message, code))
        return;
    if (HandleClientWorldSignal(code, *message, client) || HandleClientNavigationSignal(code, *message, client) ||
        HandleClientGridSignal(code, *message) || HandleClientAssetSignal(code, *message, client))
        return;
    if (HandleClientConnectionSignal(code, *message, client))
        return;
    if (HandleClientRetainedGUISignal(code, *message, client))
        return;
    if (HandleClientConsoleSignal(code, *message, client))
        return;
    HandleClientPresentationSignal(code, *message, client);
}

namespace {

const ClientHookRegistration signalHook("signal", ClientMessageHookSignal);

}  // namespace
