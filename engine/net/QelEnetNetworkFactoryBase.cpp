#include "engine/net/QelEnetNetworkFactoryBase.h"

#include "engine/net/LocalAddress.h"

#include <enet/enet.h>

#include <stdexcept>

QelNetworkFactoryBase* gNetworkFactory = nullptr;

QelEnetNetworkFactoryBase::QelEnetNetworkFactoryBase()
{
    if (enet_initialize() != 0)
        throw std::runtime_error("The network library could not be initialised; the game cannot host or join.");
}

QelEnetNetworkFactoryBase::~QelEnetNetworkFactoryBase()
{
    servers.clear();
    clients.clear();
    enet_deinitialize();
}

void QelEnetNetworkFactoryBase::GetLocalAddress(std::string& out)
{
    out = qel::FindLocalIPv4Address();
}

QelNetworkServer* QelEnetNetworkFactoryBase::GetServer(const std::string& name, uint16_t port)
{
    auto& slot = servers[name];
    if (!slot)
        slot = std::make_unique<QelEnetNetworkServer>(name, port);
    return slot.get();
}

bool QelEnetNetworkFactoryBase::DestroyServer(const std::string& name)
{
    return servers.erase(name) > 0;
}

QelNetworkClient* QelEnetNetworkFactoryBase::GetClient(const std::string& name, uint16_t port)
{
    auto& slot = clients[name];
    if (!slot)
        slot = std::make_unique<QelEnetNetworkClient>(name, port);
    return slot.get();
}

bool QelEnetNetworkFactoryBase::DestroyClient(const std::string& name)
{
    return clients.erase(name) > 0;
}
