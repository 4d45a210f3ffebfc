// The server's handler of "signal" from consoles. A code it does not handle
// leaves the server unchanged; the crew commands arrive with the server's
// command handling.

#include "game/net/ClientRecord.h"
#include "game/net/CorvaneServer.h"
#include "game/net/DataRequests.h"
#include "game/net/MessageHooks.h"
#include "game/net/SignalMessage.h"

namespace {

// Keeps the console from being dropped for silence.
void HandleHeartbeat(QelNetworkMessage& message, uint64_t sender)
{
    HeartbeatSignal heartbeat;
    if (ReadSignal(message, heartbeat))
        gServer->ResetClientIdle(sender);
}

// A console echoes the key of a ping the server sent it.
void HandlePingEcho(QelNetworkMessage& message, uint64_t sender)
{
    PingSignal echo;
    if (ReadSignal(message, echo))
        gServer->ApplyPingEcho(sender, echo.key);
}

}  // namespace

void ServerMessageHookSignal(QelNetworkMessage* message, uint64_t sender)
{
    uint16_t code = 0;
    // Only the transport's ids name a console; anything else is no one's.
    if (!gServer || !VALID_CLIENT(sender) || !ReadSignalCode(*message, code))
        return;
    switch (code) {
    case SIGNAL_MESS_FULL_OBJECT_REQUEST: return AnswerFullObjectRequest(*message, sender);
    case SIGNAL_MESS_HEARTBEAT:
        HandleHeartbeat(*message, sender);
        break;
    case SIGNAL_MESS_PING:
        HandlePingEcho(*message, sender);
        break;
    default:
        break;
    }
}

namespace {

const ServerHookRegistration signalHook("signal", ServerMessageHookSignal);

}  // namespace
