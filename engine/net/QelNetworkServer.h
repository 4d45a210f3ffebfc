#pragma once
// The hosting end: accepts consoles, gives each an id with bit 63 set, and
// sends messages to the ids a message names. Not thread-safe: the owner makes
// every call under one lock.

#include <cstdint>
#include <string>
#include <vector>

class QelNetworkMessage;

class QelNetworkServer {
public:
    // Packet flags of Send. An unreliable message larger than a datagram is
    // lost whole when one of its pieces is.
    static constexpr uint32_t kUnreliable = 0;
    static constexpr uint32_t kReliable = 1;
    // On a channel of its own, ordered apart from everything else: for
    // streams whose every message replaces the last (object records), which
    // must not wait behind a reliable message that is being resent.
    static constexpr uint32_t kRecordStream = 2;

    virtual ~QelNetworkServer() = default;

    // Turns the next pending event into a message (key 0 connect, key 2
    // disconnect, else the packet's bytes) and names the client it came from.
    virtual bool Receive(QelNetworkMessage& message, uint64_t& sender) = 0;
    // Sends one packet to every connected client named in the recipients, in
    // the host's peer order; an id listed twice is sent twice. Returns the
    // number of packets handed to the wire.
    virtual int Send(const QelNetworkMessage& message, uint32_t flags) = 0;
    // Starts closing the connection of one client; its disconnect event
    // follows through Receive. False when no connected client has the id.
    virtual bool DisconnectClient(uint64_t clientId) = 0;
    // A console whose reliable traffic goes unacknowledged this long is
    // disconnected (its disconnect event follows through Receive). Applies to
    // consoles that connect afterwards; 0 keeps the transport's own bounds.
    // An endpoint without links to time (a stand-in) ignores it.
    virtual void SetLinkTimeout(uint32_t /*milliseconds*/) {}
    // True when the port could not be bound: nothing is received or sent.
    virtual bool IsNotRunning() const = 0;
    // Why the port could not be bound, as the system said it ("Address
    // already in use"); "" while running.
    virtual std::string OpenFailure() const = 0;
    // The port actually bound (the one asked for, or the system's pick for 0).
    virtual uint16_t BoundPort() const = 0;
    // Names of the messages clients receive, so that bytes sent can be
    // counted per message type ("<name>TST").
    virtual void SetMessageNames(const std::vector<std::string>& names) = 0;
    // Packets refused because they do not fit a message (over 10000 bytes).
    virtual uint64_t OversizedPacketsDropped() const = 0;
};
