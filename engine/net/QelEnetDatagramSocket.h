#pragma once
// A plain non-blocking UDP socket of ENet's socket layer, for the local
// network's server discovery (separate from the ENet hosts).

#include <enet/enet.h>

#include <cstddef>
#include <cstdint>
#include <string>

class QelEnetDatagramSocket {
public:
    struct Sender {
        ENetAddress address{};
    };

    QelEnetDatagramSocket() = default;
    ~QelEnetDatagramSocket();
    QelEnetDatagramSocket(const QelEnetDatagramSocket&) = delete;
    QelEnetDatagramSocket& operator=(const QelEnetDatagramSocket&) = delete;

    // An unbound socket that may send to broadcast addresses.
    bool OpenForBroadcast();
    // A socket bound to every address on the port (0: any free port), shared
    // with other processes listening on the same port.
    bool OpenBound(uint16_t port);
    void Close();
    bool IsOpen() const { return socket != ENET_SOCKET_NULL; }
    // The port the socket is bound to; 0 when it is not bound.
    uint16_t BoundPort() const;

    bool SendTo(const std::string& host, uint16_t port, const uint8_t* data, size_t length);
    bool SendTo(const Sender& to, const uint8_t* data, size_t length);
    // One waiting datagram into the buffer; its length, or 0 when none waits,
    // it failed or it did not fit the buffer.
    size_t ReceiveFrom(uint8_t* buffer, size_t capacity, Sender& from);

private:
    bool Create();

    ENetSocket socket = ENET_SOCKET_NULL;
};
