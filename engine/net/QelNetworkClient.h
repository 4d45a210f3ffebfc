#pragma once
// The console's end of a connection to one server. Not thread-safe: the owner
// makes every call under one lock, since the host behind it is not either.

#include <cstdint>
#include <string>

class QelNetworkMessage;

class QelNetworkClient {
public:
    virtual ~QelNetworkClient() = default;

    // Starts connecting (disconnecting first when connected); the connect
    // event arrives later through Receive. False when the address does not
    // resolve or the endpoint has no host.
    virtual bool Connect(const std::string& address) = 0;
    // Ends the connection, waiting a short while for the server to agree.
    virtual void Disconnect() = 0;
    // Turns the next pending event into a message: key 0 on connect, key 2 on
    // disconnect, the packet's bytes on receipt. False when nothing is pending.
    virtual bool Receive(QelNetworkMessage& message) = 0;
    // Sends the written bytes reliably; true when they were handed to the wire.
    virtual bool Send(const QelNetworkMessage& message) = 0;
    virtual bool IsConnected() const = 0;
    // The connection ends (a disconnect event through Receive) once the
    // server leaves its reliable traffic unacknowledged this long; 0 keeps the
    // transport's own bounds. Applies at once and to later connections. An
    // endpoint without links to time (a stand-in) ignores it.
    virtual void SetLinkTimeout(uint32_t /*milliseconds*/) {}
    // Packets refused because they do not fit a message (over 10000 bytes).
    virtual uint64_t OversizedPacketsDropped() const = 0;
};
