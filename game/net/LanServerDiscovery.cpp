#include "game/net/LanServerDiscovery.h"

#include "engine/base/QelClock.h"
#include "engine/base/QelNetworkMessage.h"

#include <arpa/inet.h>

#include <algorithm>
#include <iterator>
#include <string>
#include <utility>

LanServerDiscovery& LanServerDiscovery::Instance()
{
    static LanServerDiscovery discovery;
    return discovery;
}

void ServerDiscovery()
{
    LanServerDiscovery::Instance().Step();
}

bool SetDiscoveryEndpoint(LanServerDiscovery& discovery, const std::string& text)
{
    const size_t colon = text.rfind(':');
    if (colon == std::string::npos)
        return false;
    const std::string address = text.substr(0, colon);
    const std::string portText = text.substr(colon + 1);
    in_addr parsed{};
    if (inet_pton(AF_INET, address.c_str(), &parsed) != 1 || portText.empty() || portText.size() > 5 ||
        portText.find_first_not_of("0123456789") != std::string::npos)
        return false;
    const int port = std::stoi(portText);
    if (port < 1 || port > 65535)
        return false;
    discovery.SetBroadcastAddress(address);
    discovery.SetPort(static_cast<uint16_t>(port));
    return true;
}

bool LanServerDiscovery::OpenClientRole()
{
    serverRole = false;
    return socket.OpenForBroadcast();
}

bool LanServerDiscovery::OpenServerRole(std::string localAddress_, std::string serverName_)
{
    serverRole = true;
    localAddress = std::move(localAddress_);
    serverName = std::move(serverName_);
    return socket.OpenBound(port);
}

void LanServerDiscovery::Reset()
{
    socket.Close();
    serverRole = false;
    lastMs = 0;
    accumulatedMs = 0;
    foundServers.clear();
    localAddress.clear();
    serverName.clear();
    broadcastAddress = kBroadcastAddress;
    port = DISCOVERY_PORT;
}

void LanServerDiscovery::Step()
{
    AdvanceClock();
    if (!serverRole && accumulatedMs > kQueryIntervalMs) {
        accumulatedMs -= kQueryIntervalMs;
        const uint8_t query = kQueryByte;
        socket.SendTo(broadcastAddress, port, &query, 1);
    }
    uint8_t datagram[kMaxDatagram];
    QelEnetDatagramSocket::Sender from;
    const size_t length = socket.ReceiveFrom(datagram, sizeof datagram, from);
    if (length > 0)
        HandleDatagram(datagram, length, from);
}

void LanServerDiscovery::AdvanceClock()
{
    const uint32_t now = qel::GetMilliseconds();
    uint32_t step = now - lastMs;
    if (step > kMaxStepMs)
        step = kMaxStepMs;
    lastMs = now;
    accumulatedMs += step;
}

void LanServerDiscovery::HandleDatagram(const uint8_t* data, size_t length,
                                        const QelEnetDatagramSocket::Sender& from)
{
    if (serverRole) {
        if (length == 1 && data[0] == kQueryByte) {
            const std::vector<uint8_t> answer = BuildAnswer(localAddress, serverName);
            socket.SendTo(from, answer.data(), answer.size());
        }
        return;
    }
    if (std::optional<DiscoveredServer> server = ParseAnswer(data, length))
        RecordAnswer(*server);
}

void LanServerDiscovery::RecordAnswer(const DiscoveredServer& server)
{
    // A server that moved to another address keeps its entry, and so does one
    // that was renamed; nameless servers are told apart by address alone. An
    // answer may match two entries (the address of one, the name of another):
    // the first takes it and the other goes, so no server is listed twice.
    auto matches = [&server](const DiscoveredServer& entry) {
        const bool sameName = !server.name.empty() && entry.name == server.name;
        return entry.address == server.address || sameName;
    };
    const auto first = std::find_if(foundServers.begin(), foundServers.end(), matches);
    if (first == foundServers.end()) {
        if (foundServers.size() < kMaxFoundServers)
            foundServers.push_back(server);
        return;
    }
    *first = server;
    foundServers.erase(std::remove_if(std::next(first), foundServers.end(), matches), foundServers.end());
}

std::vector<uint8_t> LanServerDiscovery::BuildAnswer(const std::string& address, const std::string& name)
{
    QelNetworkMessage message;
    message.WriteInt8(kAnswerByte).WriteString(address).WriteString(name);
    return std::vector<uint8_t>(message.Data(), message.Data() + message.writeIndex);
}

std::optional<DiscoveredServer> LanServerDiscovery::ParseAnswer(const uint8_t* data, size_t length)
{
    if (length == 0 || length > static_cast<size_t>(QelNetworkMessage::kMessageBufferSize))
        return std::nullopt;
    QelNetworkMessage message;
    message.WriteBytes(data, static_cast<int32_t>(length));
    uint8_t kind = 0;
    DiscoveredServer server;
    message.ReadInt8(kind).ReadString(server.address).ReadString(server.name);
    if (kind != kAnswerByte || message.IsBad() || message.BytesLeftToRead() != 0)
        return std::nullopt;
    return server;
}
