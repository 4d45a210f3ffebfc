#include "engine/net/QelEnetDatagramSocket.h"

QelEnetDatagramSocket::~QelEnetDatagramSocket()
{
    Close();
}

bool QelEnetDatagramSocket::Create()
{
    Close();
    socket = enet_socket_create(ENET_SOCKET_TYPE_DATAGRAM);
    if (socket == ENET_SOCKET_NULL)
        return false;
    enet_socket_set_option(socket, ENET_SOCKOPT_NONBLOCK, 1);
    return true;
}

bool QelEnetDatagramSocket::OpenForBroadcast()
{
    if (!Create())
        return false;
    enet_socket_set_option(socket, ENET_SOCKOPT_BROADCAST, 1);
    return true;
}

bool QelEnetDatagramSocket::OpenBound(uint16_t port)
{
    if (!Create())
        return false;
    enet_socket_set_option(socket, ENET_SOCKOPT_REUSEADDR, 1);
    ENetAddress any{};
    any.host = ENET_HOST_ANY;
    any.port = port;
    if (enet_socket_bind(socket, &any) != 0) {
        Close();
        return false;
    }
    return true;
}

void QelEnetDatagramSocket::Close()
{
    if (socket != ENET_SOCKET_NULL)
        enet_socket_destroy(socket);
    socket = ENET_SOCKET_NULL;
}

uint16_t QelEnetDatagramSocket::BoundPort() const
{
    ENetAddress bound{};
    if (socket == ENET_SOCKET_NULL || enet_socket_get_address(socket, &bound) != 0)
        return 0;
    return bound.port;
}

bool QelEnetDatagramSocket::SendTo(const std::string& host, uint16_t port, const uint8_t* data, size_t length)
{
    Sender to;
    if (enet_address_set_host_ip(&to.address, host.c_str()) != 0)
        return false;
    to.address.port = port;
    return SendTo(to, data, length);
}

bool QelEnetDatagramSocket::SendTo(const Sender& to, const uint8_t* data, size_t length)
{
    if (socket == ENET_SOCKET_NULL)
        return false;
    ENetBuffer buffer;
    buffer.data = const_cast<uint8_t*>(data);
    buffer.dataLength = length;
    return enet_socket_send(socket, &to.address, &buffer, 1) > 0;
}

size_t QelEnetDatagramSocket::ReceiveFrom(uint8_t* data, size_t capacity, Sender& from)
{
    if (socket == ENET_SOCKET_NULL)
        return 0;
    ENetBuffer buffer;
    buffer.data = data;
    buffer.dataLength = capacity;
    const int received = enet_socket_receive(socket, &from.address, &buffer, 1);
    return received > 0 ? static_cast<size_t>(received) : 0;
}
