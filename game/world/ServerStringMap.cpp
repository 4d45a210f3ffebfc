#include "game/world/ServerStringMap.h"

#include "helper/QelAssert.h"

#include <iostream>
#include <utility>

namespace {

// Message key, 16-bit code, and the 16-bit length of each of the two strings.
constexpr int32_t kEntryOverhead = 8 + 2 + 2 + 2;

}  // namespace

ServerStringMap& ServerStringMap::Instance()
{
    static ServerStringMap map;
    return map;
}

void ServerStringMap::Set(std::string key, std::string value)
{
    QEL_ASSERT(!key.empty(), "!key.empty() && \"empty key; ServerStringMap::Set\"");
    changedKeys.push_back(key);
    entries[std::move(key)] = std::move(value);
}

std::string ServerStringMap::Get(const std::string& key)
{
    if (key.empty())
        return std::string();
    return entries[key];
}

void ServerStringMap::Clear()
{
    entries.clear();
}

void ServerStringMap::ApplyReceived(const std::string& key, const std::string& value)
{
    QEL_ASSERT(!key.empty(), "!key.empty() && \"empty key; ServerStringMap::ApplyReceived\"");
    entries[key] = value;
    if (key == "clear" && value == "stringmap")
        Clear();
}

void ServerStringMap::SendFullUpdateTo(uint64_t clientId, ServerMessageSink& sink)
{
    for (const auto& x : entries) {
        QEL_ASSERT(!x.first.empty(), "!x.first.empty() && \"empty key; ServerStringMap::SendFullUpdateTo\"");
        QelNetworkMessage& message = sink.StartMessage();
        if (BuildEntryMessage(message, x.first, x.second))
            sink.SendToClient(message, clientId, ServerMessageSink::kReliable);
    }
}

void ServerStringMap::UpdateClients(ServerMessageSink& sink, std::vector<uint64_t>& clientsAwaitingFullUpdate)
{
    for (const std::string& e : changedKeys) {
        QEL_ASSERT(!e.empty(), "!e.empty() && \"empty key; ServerStringMap::UpdateClients\"");
        QelNetworkMessage& message = sink.StartMessage();
        if (BuildEntryMessage(message, e, Get(e)))
            sink.SendToAll(message, ServerMessageSink::kReliable);  // sent once per change
    }
    changedKeys.clear();

    for (uint64_t clientId : clientsAwaitingFullUpdate)
        SendFullUpdateTo(clientId, sink);
    clientsAwaitingFullUpdate.clear();
}

bool ServerStringMap::BuildEntryMessage(QelNetworkMessage& message, const std::string& key, const std::string& value)
{
    const size_t size = kEntryOverhead + key.size() + value.size();
    if (size > static_cast<size_t>(message.BytesLeftToWrite())) {
        std::cerr << "ServerStringMap: the entry \"" << key << "\" needs " << size << " bytes, more than one "
                  << "message holds; it is not sent\n";
        return false;
    }
    static const uint64_t signalKey = HashMessageName("signal");
    message.WriteInt64(signalKey).WriteInt16(kSignalCode).WriteString(key).WriteString(value);
    return true;
}
