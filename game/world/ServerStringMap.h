#pragma once
// A table of text keys to text values that the mission and behaviours set on
// the server and that every client mirrors. The server sends each changed key
// to all clients (throttled by its own pass) and the whole table to a client
// that has just connected; a client applies what it receives to its own copy.
// Main thread only.

#include "game/world/ServerMessageSink.h"

#include <cstdint>
#include <map>
#include <string>
#include <vector>

class ServerStringMap {
public:
    // "signal" code of one string-map entry (key, then value).
    static constexpr int32_t kSignalCode = 87;

    // The process-wide table, empty at start.
    static ServerStringMap& Instance();

    // The key must not be empty. Every call is queued for the next update,
    // even when the value did not change.
    void Set(std::string key, std::string value);
    // A missing key is inserted with an empty value. The empty key is never
    // inserted: no update could send it.
    std::string Get(const std::string& key);
    // Empties the table; keys changed and not yet sent stay queued and go out
    // with an empty value.
    void Clear();

    // A console's copy takes an entry the server sent. Nothing is queued: a
    // console never sends its copy on, and a queue nothing drains would grow
    // for as long as the console runs. The pair "clear" / "stringmap" is
    // stored and then wiped with every other entry.
    void ApplyReceived(const std::string& key, const std::string& value);

    // Every entry, in key order, one reliable message each, to one client.
    void SendFullUpdateTo(uint64_t clientId, ServerMessageSink& sink);
    // Sends every queued change to all clients (unreliably, with the value
    // current now) and empties the queue; then the whole table to each client
    // waiting for it, emptying that list too. How often this runs is the
    // server's choice.
    void UpdateClients(ServerMessageSink& sink, std::vector<uint64_t>& clientsAwaitingFullUpdate);

    const std::map<std::string, std::string>& Entries() const { return entries; }
    const std::vector<std::string>& ChangedKeys() const { return changedKeys; }

private:
    // Builds one entry's message; false (and nothing sendable) when the entry
    // is too large for one message.
    static bool BuildEntryMessage(QelNetworkMessage& message, const std::string& key, const std::string& value);

    std::map<std::string, std::string> entries;
    std::vector<std::string> changedKeys;  // in the order set, duplicates kept
};
