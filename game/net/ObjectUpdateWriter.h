#pragma once
// Builds "spaceobjectupdate" messages for one list of consoles in the server's
// outgoing message: object records one after another, each message ended by
// a 0 id. A record that would not fit before the end marker starts a new
// message, so no pass ever overflows one. Each finished message is handed to
// the delivery: sent at once, or kept by a pass that spreads its sending.

#include "engine/base/QelNetworkMessage.h"

#include <cstdint>
#include <functional>
#include <vector>

class CorvaneServer;
class SpaceObject;

class ObjectUpdateWriter {
public:
    using Deliver = std::function<void(QelNetworkMessage& finished)>;

    // Passes that send many records split them this many to a message: a
    // lost message then loses only a slice of them.
    static constexpr int32_t kRecordsPerSlice = 50;

    // Each message goes to the consoles unreliably, on the object records'
    // channel, as soon as it is finished.
    ObjectUpdateWriter(CorvaneServer& server, const std::vector<uint64_t>& recipients);
    // Each finished message, addressed to the consoles, goes to the delivery.
    ObjectUpdateWriter(const std::vector<uint64_t>& recipients, Deliver deliver);

    void Add(const SpaceObject& object, int32_t marker);
    // Finishes the message and starts the next one.
    void Split();
    // Finishes the last message.
    void Finish();

private:
    void Start();

    const std::vector<uint64_t>& recipients;
    Deliver deliver;
    QelNetworkMessage& message;
};
