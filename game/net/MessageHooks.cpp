#include "game/net/MessageHooks.h"

#include "engine/base/QelNetworkMessage.h"

HookMap<ClientMessageHook>& ClientHookMap()
{
    static HookMap<ClientMessageHook> clientHookMap;
    return clientHookMap;
}

HookMap<ServerMessageHook>& ServerHookMap()
{
    static HookMap<ServerMessageHook> serverHookMap;
    return serverHookMap;
}

void RegisterClientHook(uint64_t key, ClientMessageHook hook)
{
    ClientHookMap().Register(key, hook, "!clientHookMap[val]");
}

void RegisterServerHook(uint64_t key, ServerMessageHook hook)
{
    ServerHookMap().Register(key, hook, "!serverHookMap[val]");
}

ClientMessageHook GetClientHook(uint64_t key)
{
    return ClientHookMap().Find(key);
}

ServerMessageHook GetServerHook(uint64_t key)
{
    return ServerHookMap().Find(key);
}

ClientHookRegistration::ClientHookRegistration(std::string_view name, ClientMessageHook hook)
    : ClientHookRegistration(HashMessageName(name), hook)
{
}

ClientHookRegistration::ClientHookRegistration(uint64_t key, ClientMessageHook hook)
{
    RegisterClientHook(key, hook);
}

ServerHookRegistration::ServerHookRegistration(std::string_view name, ServerMessageHook hook)
    : ServerHookRegistration(HashMessageName(name), hook)
{
}

ServerHookRegistration::ServerHookRegistration(uint64_t key, ServerMessageHook hook)
{
    RegisterServerHook(key, hook);
}

const std::vector<std::string>& ClientMessageNames()
{
    static const std::vector<std::string> clientMessageNames = {
        "objectBlob", "spaceobjectupdate", "signal", "fullobject", "beam", "transient", "testValueToClient"};
    return clientMessageNames;
}

bool CallClientHook(uint64_t key, QelNetworkMessage& message, CorvaneClient* client)
{
    ClientMessageHook hook = GetClientHook(key);
    if (hook == nullptr)
        return false;
    hook(&message, client);
    return true;
}

bool CallServerHook(uint64_t key, QelNetworkMessage& message)
{
    ServerMessageHook hook = GetServerHook(key);
    if (hook == nullptr)
        return false;
    hook(&message, message.sender);
    return true;
}
