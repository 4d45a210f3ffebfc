#pragma once
// The network factory over ENet. Making it initialises ENet; it owns every
// endpoint it makes and destroys them with itself.

#include "engine/net/QelEnetNetworkClient.h"
#include "engine/net/QelEnetNetworkServer.h"
#include "engine/net/QelNetworkFactoryBase.h"

#include <map>
#include <memory>
#include <string>

class QelEnetNetworkFactoryBase final : public QelNetworkFactoryBase {
public:
    QelEnetNetworkFactoryBase();  // throws std::runtime_error when ENet cannot start
    ~QelEnetNetworkFactoryBase() override;
    QelEnetNetworkFactoryBase(const QelEnetNetworkFactoryBase&) = delete;
    QelEnetNetworkFactoryBase& operator=(const QelEnetNetworkFactoryBase&) = delete;

    void GetLocalAddress(std::string& out) override;
    QelNetworkServer* GetServer(const std::string& name, uint16_t port) override;
    bool DestroyServer(const std::string& name) override;
    QelNetworkClient* GetClient(const std::string& name, uint16_t port) override;
    bool DestroyClient(const std::string& name) override;

private:
    std::map<std::string, std::unique_ptr<QelEnetNetworkServer>> servers;
    std::map<std::string, std::unique_ptr<QelEnetNetworkClient>> clients;
};
