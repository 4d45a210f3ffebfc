// The console's handler of "signal": every notification the server sends. The
// families apply what they know; a code that no family takes leaves the
// console unchanged.

#include "game/net/ClientSignalHandlers.h"
#include "game/net/MessageHooks.h"
#include "game/net/SignalMessage.h"

void ClientMessageHookSignal(QelNetworkMessage* message)
{
    uint16_t code = 0;
    if (!ReadSignalCode(*message, code))
        return;
    if (HandleClientWorldSignal(code, *message) || HandleClientNavigationSignal(code, *message) ||
        HandleClientGridSignal(code, *message) || HandleClientAssetSignal(code, *message))
        return;
    if (HandleClientConnectionSignal(code, *message))
        return;
    if (HandleClientRetainedGUISignal(code, *message))
        return;
    if (HandleClientConsoleSignal(code, *message))
        return;
    HandleClientPresentationSignal(code, *message);
}

namespace {

const ClientHookRegistration signalHook("signal", ClientMessageHookSignal);

}  // namespace
