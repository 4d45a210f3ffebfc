// Keys that are registered so that they are known, but that need no work:
// the reserved key 1 on both sides, the console's connect event, and the two
// test messages.

#include "engine/net/TransportRules.h"
#include "game/net/MessageHooks.h"

namespace {

void EmptyFunction(QelNetworkMessage*, CorvaneClient*) {}
void EmptyServerFunction(QelNetworkMessage*, uint64_t) {}

const ClientHookRegistration clientReserved(qel::kReservedKey, EmptyFunction);
const ClientHookRegistration clientConnected(qel::kConnectedKey, EmptyFunction);
const ClientHookRegistration clientTestValue("testValueToClient", EmptyFunction);

const ServerHookRegistration serverReserved(qel::kReservedKey, EmptyServerFunction);
const ServerHookRegistration serverTestValue("testValueToServer", EmptyServerFunction);

}  // namespace
