// The console's handler of losing the server: its mirror of the world goes,
// since nothing will keep it up to date any more.

#include "engine/net/TransportRules.h"
#include "game/net/ClientSignalHandlers.h"
#include "game/net/MessageHooks.h"
#include "game/world/Simulation.h"

void ClientMessageHookDisconnect(QelNetworkMessage*, CorvaneClient*)
{
    if (Simulation* world = ConsoleMirrorWorld())
        world->Clear();
}

namespace {

const ClientHookRegistration disconnectHook(qel::kDisconnectedKey, ClientMessageHookDisconnect);

}  // namespace
