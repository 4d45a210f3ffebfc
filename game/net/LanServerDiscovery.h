#pragma once
// Finding servers on the local network without typing an address. A console
// broadcasts a one-byte query every 2 seconds; a hosting server answers with
// its address and name; the console keeps every server it has heard from.
// One step runs several times per frame on the main thread.

#include "engine/net/QelEnetDatagramSocket.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

struct DiscoveredServer {
    std::string name;
    std::string address;  // dotted IPv4 text
};

class LanServerDiscovery {
public:
    static constexpr uint16_t DISCOVERY_PORT = 3150;
    static constexpr const char* kBroadcastAddress = "255.255.255.255";
    static constexpr uint8_t kQueryByte = 5;
    static constexpr uint8_t kAnswerByte = 6;
    // Time between queries of a console.
    static constexpr uint32_t kQueryIntervalMs = 2000;
    // A long frame (a loading pause, a clock that went back) counts as this
    // much, so a stall does not fire a burst of queries.
    static constexpr uint32_t kMaxStepMs = 1000;
    // Largest datagram read; anything longer is not a discovery datagram.
    static constexpr size_t kMaxDatagram = 10000;
    // Far more servers than any local network hosts: anyone on the network
    // can answer, so the list must not grow with every made-up address.
    static constexpr size_t kMaxFoundServers = 64;

    // The program's one discovery state (tests make their own).
    static LanServerDiscovery& Instance();
    LanServerDiscovery() = default;

    // Console role: an unbound broadcast socket that sends queries.
    bool OpenClientRole();
    // Server role (replaces the console's socket): bound to the discovery
    // port, answering with the address and name given.
    bool OpenServerRole(std::string localAddress, std::string serverName);

    // One step: advance the query timer, maybe send a query, handle at most
    // one datagram.
    void Step();

    const std::vector<DiscoveredServer>& FoundServers() const { return foundServers; }
    bool IsServerRole() const { return serverRole; }
    uint32_t AccumulatedMs() const { return accumulatedMs; }

    // Tests keep traffic on loopback: another broadcast address, and another
    // port (0 binds any free port; BoundPort tells which).
    void SetBroadcastAddress(std::string address) { broadcastAddress = std::move(address); }
    void SetPort(uint16_t newPort) { port = newPort; }
    uint16_t BoundPort() const { return socket.BoundPort(); }

    // Back to a fresh state with the given socket closed (tests).
    void Reset();

    // Keeps an answering server: the first entry with the same address, or
    // the same non-empty name, is replaced (and any other such entry
    // dropped); otherwise the server is appended while the list has room.
    void RecordAnswer(const DiscoveredServer& server);

    // The answer datagram's content; nothing unless it parses exactly.
    static std::optional<DiscoveredServer> ParseAnswer(const uint8_t* data, size_t length);
    static std::vector<uint8_t> BuildAnswer(const std::string& address, const std::string& name);

private:
    void AdvanceClock();
    void HandleDatagram(const uint8_t* data, size_t length, const QelEnetDatagramSocket::Sender& from);

    QelEnetDatagramSocket socket;
    bool serverRole = false;
    uint32_t lastMs = 0;
    uint32_t accumulatedMs = 0;
    std::vector<DiscoveredServer> foundServers;  // in order of first answer
    std::string localAddress;
    std::string serverName;
    std::string broadcastAddress = kBroadcastAddress;
    uint16_t port = DISCOVERY_PORT;
};

// One discovery step of the program's discovery state.
void ServerDiscovery();

// Points discovery elsewhere, as the window program does with the text of
// $QEL_DISCOVERY so that its tests stay on loopback: "ADDRESS:PORT"
// ("127.255.255.255:40123") sends the queries to that IPv4 address and port,
// and a server answers on that port. False, with nothing changed, for text
// of another form.
bool SetDiscoveryEndpoint(LanServerDiscovery& discovery, const std::string& text);
