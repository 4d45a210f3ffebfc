#pragma once
// How the engine reaches the network: named client and server endpoints, made
// on first request and owned by the factory, plus the machine's own address.

#include <cstdint>
#include <string>

class QelNetworkClient;
class QelNetworkServer;

class QelNetworkFactoryBase {
public:
    virtual ~QelNetworkFactoryBase() = default;

    // The computer's IPv4 address in dotted text, as other machines reach it.
    virtual void GetLocalAddress(std::string& out) = 0;
    // The endpoint of that name; a new one listens on the port (0: any free
    // port). An existing endpoint is returned as it is, whatever the port.
    virtual QelNetworkServer* GetServer(const std::string& name, uint16_t port) = 0;
    virtual bool DestroyServer(const std::string& name) = 0;
    // The endpoint of that name; a new one connects to servers on the port.
    virtual QelNetworkClient* GetClient(const std::string& name, uint16_t port) = 0;
    virtual bool DestroyClient(const std::string& name) = 0;
};

// The engine's one network factory, made at start-up before the game exists.
extern QelNetworkFactoryBase* gNetworkFactory;
