// The lossy relay between plain UDP sockets on loopback: what it loses,
// copies, delays and reorders, and that a seed fixes its choices.

#include "tools/udp-relay/UdpRelay.h"

#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cmath>
#include <cstring>
#include <set>
#include <thread>
#include <vector>

namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

// Only a broken test waits this long.
constexpr auto kPatience = 10s;

sockaddr_in Loopback(uint16_t port)
{
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = htons(port);
    return address;
}

// A bound loopback UDP socket that sends and receives numbered datagrams.
class Socket {
public:
    Socket()
    {
        fd = socket(AF_INET, SOCK_DGRAM | SOCK_NONBLOCK, 0);
        const sockaddr_in any = Loopback(0);
        bind(fd, reinterpret_cast<const sockaddr*>(&any), sizeof any);
        socklen_t length = sizeof bound;
        getsockname(fd, reinterpret_cast<sockaddr*>(&bound), &length);
        int size = 4 << 20;  // room for a burst while the relay holds it
        setsockopt(fd, SOL_SOCKET, SO_RCVBUF, &size, sizeof size);
    }
    ~Socket() { close(fd); }

    uint16_t Port() const { return ntohs(bound.sin_port); }

    void SendTo(const sockaddr_in& to, uint32_t number)
    {
        sendto(fd, &number, sizeof number, 0, reinterpret_cast<const sockaddr*>(&to), sizeof to);
    }

    // Waits for a datagram up to the patience; false when none came.
    bool Receive(uint32_t& number, sockaddr_in* from = nullptr, std::chrono::milliseconds wait = kPatience)
    {
        pollfd watched{fd, POLLIN, 0};
        if (poll(&watched, 1, static_cast<int>(wait.count())) <= 0)
            return false;
        sockaddr_in sender{};
        socklen_t length = sizeof sender;
        if (recvfrom(fd, &number, sizeof number, 0, reinterpret_cast<sockaddr*>(&sender), &length) !=
            static_cast<ssize_t>(sizeof number))
            return false;
        if (from)
            *from = sender;
        return true;
    }

private:
    int fd = -1;
    sockaddr_in bound{};
};

// Waits until the relay holds nothing back any more.
void WaitUntilSettled(const UdpRelay& relay, uint64_t sent)
{
    const auto deadline = Clock::now() + kPatience;
    while (Clock::now() < deadline) {
        const RelayCounts c = relay.Counts();
        if (c.received >= sent && c.delivered >= c.received - c.dropped + c.duplicated)
            return;
        std::this_thread::sleep_for(1ms);
    }
}

// Sends the numbers 0..count-1 from the console through the relay, in
// bursts the relay's socket buffer holds; what the server received, in order
// of arrival.
std::vector<uint32_t> PassThrough(UdpRelay& relay, Socket& console, Socket& server, uint32_t count)
{
    constexpr uint32_t kBurst = 50;
    const uint64_t before = relay.Counts().received;
    for (uint32_t i = 0; i < count; ++i) {
        console.SendTo(Loopback(relay.Port()), i);
        if ((i + 1) % kBurst == 0)
            WaitUntilSettled(relay, before + i + 1);
    }
    WaitUntilSettled(relay, before + count);
    std::vector<uint32_t> arrived;
    uint32_t number = 0;
    while (server.Receive(number, nullptr, 50ms))
        arrived.push_back(number);
    return arrived;
}

size_t OutOfOrder(const std::vector<uint32_t>& arrived)
{
    size_t count = 0;
    for (size_t i = 1; i < arrived.size(); ++i)
        count += arrived[i] < arrived[i - 1] ? 1 : 0;
    return count;
}

TEST(UdpRelayTest, a_clear_link_delivers_everything_in_order_both_ways)
{
    Socket console, server;
    UdpRelay relay(server.Port(), {}, 1);
    const std::vector<uint32_t> arrived = PassThrough(relay, console, server, 200);
    ASSERT_EQ(arrived.size(), 200u);
    EXPECT_EQ(OutOfOrder(arrived), 0u);

    // The server answers the address the console's datagrams came from.
    uint32_t number = 0;
    sockaddr_in relaySide{};
    console.SendTo(Loopback(relay.Port()), 7);
    ASSERT_TRUE(server.Receive(number, &relaySide));
    for (uint32_t i = 0; i < 50; ++i)
        server.SendTo(relaySide, 1000 + i);
    for (uint32_t i = 0; i < 50; ++i) {
        ASSERT_TRUE(console.Receive(number));
        EXPECT_EQ(number, 1000 + i);
    }
}

TEST(UdpRelayTest, losses_and_copies_come_near_their_rates)
{
    struct Case {
        const char* name;
        double loss;
        double duplicate;
    };
    constexpr uint32_t kSent = 2000;
    for (const Case& c : {Case{"ten_percent_loss", 0.10, 0.0}, Case{"one_percent_copies", 0.0, 0.01},
                          Case{"both", 0.10, 0.05}}) {
        SCOPED_TRACE(c.name);
        Socket console, server;
        LinkConditions conditions;
        conditions.lossRate = c.loss;
        conditions.duplicateRate = c.duplicate;
        UdpRelay relay(server.Port(), conditions, 42);
        const std::vector<uint32_t> arrived = PassThrough(relay, console, server, kSent);
        const std::set<uint32_t> distinct(arrived.begin(), arrived.end());
        const double lost = kSent - static_cast<double>(distinct.size());
        const double copies = static_cast<double>(arrived.size() - distinct.size());
        // Five standard deviations of a binomial count either way.
        auto near = [&](double count, double rate, double trials) {
            const double spread = 5.0 * std::sqrt(trials * rate * (1.0 - rate)) + 1.0;
            return std::abs(count - trials * rate) <= spread;
        };
        EXPECT_TRUE(near(lost, c.loss, kSent)) << lost << " lost";
        EXPECT_TRUE(near(copies, c.duplicate, static_cast<double>(distinct.size()))) << copies << " copies";
        const RelayCounts counts = relay.Counts();
        EXPECT_EQ(counts.dropped, static_cast<uint64_t>(lost));
        EXPECT_EQ(counts.duplicated, static_cast<uint64_t>(copies));
    }
}

TEST(UdpRelayTest, jitter_delays_without_reordering_while_reordering_has_its_own_rate)
{
    Socket console, server;
    LinkConditions conditions;
    conditions.delay = 100ms;
    conditions.jitter = 50ms;
    UdpRelay relay(server.Port(), conditions, 3);
    constexpr uint32_t kSent = 60;
    std::vector<Clock::time_point> sentAt;
    for (uint32_t i = 0; i < kSent; ++i) {
        sentAt.push_back(Clock::now());
        console.SendTo(Loopback(relay.Port()), i);
        std::this_thread::sleep_for(1ms);
    }
    std::vector<uint32_t> arrived;
    uint32_t number = 0;
    while (arrived.size() < kSent && server.Receive(number)) {
        EXPECT_GE(Clock::now() - sentAt.at(number), 50ms) << "datagram " << number;
        arrived.push_back(number);
    }
    ASSERT_EQ(arrived.size(), kSent);
    EXPECT_EQ(OutOfOrder(arrived), 0u) << "jitter alone keeps the order";

    LinkConditions shuffled;
    shuffled.reorderRate = 0.2;
    shuffled.reorderHold = 20ms;
    relay.SetConditions(shuffled);
    std::vector<uint32_t> mixed;
    for (uint32_t i = 0; i < 200; ++i) {
        console.SendTo(Loopback(relay.Port()), i);
        std::this_thread::sleep_for(std::chrono::microseconds(200));
    }
    WaitUntilSettled(relay, kSent + 200);  // 200 small datagrams fit the socket buffer
    while (server.Receive(number, nullptr, 50ms))
        mixed.push_back(number);
    EXPECT_EQ(mixed.size(), 200u);
    EXPECT_GT(OutOfOrder(mixed), 0u);
    EXPECT_GT(relay.Counts().reordered, 0u);
}

TEST(UdpRelayTest, the_same_seed_gives_the_same_fates_to_the_same_traffic)
{
    LinkConditions conditions;
    conditions.lossRate = 0.3;
    conditions.duplicateRate = 0.2;
    auto run = [&](uint32_t seed) {
        Socket console, server;
        UdpRelay relay(server.Port(), conditions, seed);
        return PassThrough(relay, console, server, 300);
    };
    const std::vector<uint32_t> first = run(7);
    EXPECT_EQ(run(7), first);
    EXPECT_NE(run(8), first);
}

TEST(UdpRelayTest, a_cut_link_delivers_nothing_until_it_clears)
{
    Socket console, server;
    UdpRelay relay(server.Port(), LinkConditions::Cut(), 5);
    EXPECT_TRUE(PassThrough(relay, console, server, 50).empty());
    relay.SetConditions({});
    EXPECT_EQ(PassThrough(relay, console, server, 50).size(), 50u);
}

TEST(UdpRelayTest, each_console_reaches_the_server_from_a_port_of_its_own_and_hears_only_its_own_answers)
{
    Socket first, second, server;
    UdpRelay relay(server.Port(), {}, 9);
    uint32_t number = 0;
    sockaddr_in firstSide{}, secondSide{};
    first.SendTo(Loopback(relay.Port()), 1);
    ASSERT_TRUE(server.Receive(number, &firstSide));
    second.SendTo(Loopback(relay.Port()), 2);
    ASSERT_TRUE(server.Receive(number, &secondSide));
    EXPECT_NE(firstSide.sin_port, secondSide.sin_port);

    server.SendTo(secondSide, 22);
    server.SendTo(firstSide, 11);
    ASSERT_TRUE(first.Receive(number));
    EXPECT_EQ(number, 11u);
    ASSERT_TRUE(second.Receive(number));
    EXPECT_EQ(number, 22u);
    EXPECT_FALSE(first.Receive(number, nullptr, 20ms));
}

}  // namespace
