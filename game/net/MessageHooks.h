#pragma once
// The two tables that route received messages to their handlers by key: the
// console's (clientHookMap) and the server's (serverHookMap).
//
// A handler family registers itself with a file-scope registration object:
//
//     static const ClientHookRegistration beamHook("beam", ClientMessageHookBeam);
//
// qel_net is linked whole (see its CMakeLists.txt), so such objects are kept
// even though nothing refers to them. Handlers read every field first, then
// check the message (ReadMessageFields) and apply nothing from a message that
// turned out short.

#include "game/net/HookMap.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

class CorvaneClient;
class QelNetworkMessage;

// A console's handler is handed the client that received the message (null
// where no client runs, as in a tool that feeds handlers directly).
using ClientMessageHook = void (*)(QelNetworkMessage* message, CorvaneClient* client);
using ServerMessageHook = void (*)(QelNetworkMessage* message, uint64_t sender);

// The tables, built on first use so that registrations made by static
// initialisers anywhere always find them.
HookMap<ClientMessageHook>& ClientHookMap();
HookMap<ServerMessageHook>& ServerHookMap();

// Refuse a second handler for a key (a start-up error, not a run-time one).
void RegisterClientHook(uint64_t key, ClientMessageHook hook);
void RegisterServerHook(uint64_t key, ServerMessageHook hook);

// The handler of a key, or null; never adds an entry.
ClientMessageHook GetClientHook(uint64_t key);
ServerMessageHook GetServerHook(uint64_t key);

// Registration by a file-scope object; the name is hashed, or a connection
// event key (0, 1, 2) is given directly.
struct ClientHookRegistration {
    ClientHookRegistration(std::string_view name, ClientMessageHook hook);
    ClientHookRegistration(uint64_t key, ClientMessageHook hook);
};
struct ServerHookRegistration {
    ServerHookRegistration(std::string_view name, ServerMessageHook hook);
    ServerHookRegistration(uint64_t key, ServerMessageHook hook);
};

// Names of the messages a client receives, in the order the server names its
// per-message send counters.
const std::vector<std::string>& ClientMessageNames();

// Dispatch helpers for MessageQueues::Dispatch: call the registered handler
// of the key (the console's with its client, the server's with the message's
// sender); false when none is.
bool CallClientHook(uint64_t key, QelNetworkMessage& message, CorvaneClient* client);
bool CallServerHook(uint64_t key, QelNetworkMessage& message);
