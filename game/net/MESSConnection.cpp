// The server's handlers of the connection events the transport reports.

#include "engine/net/TransportRules.h"
#include "game/net/CorvaneServer.h"
#include "game/net/MessageHooks.h"

void ServerMessageHookClientConnect(QelNetworkMessage*, uint64_t sender)
{
    if (gServer)
        gServer->HandleClientConnect(sender);
}

void ServerMessageHookClientDisconnect(QelNetworkMessage*, uint64_t sender)
{
    if (gServer)
        gServer->HandleClientDisconnect(sender);
}

namespace {

const ServerHookRegistration connectHook(qel::kConnectedKey, ServerMessageHookClientConnect);
const ServerHookRegistration disconnectHook(qel::kDisconnectedKey, ServerMessageHookClientDisconnect);

}  // namespace
