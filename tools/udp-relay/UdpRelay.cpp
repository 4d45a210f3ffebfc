#include "tools/udp-relay/UdpRelay.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <queue>
#include <random>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

// The largest UDP payload; ENet's datagrams are far smaller.
constexpr size_t kMaxDatagram = 65536;
// Room for a burst from many consoles while the thread is busy; the system
// may grant less.
constexpr int kSocketBufferBytes = 1 << 20;

enum Way : int { kTowardServer = 0, kTowardConsole = 1, kWayCount = 2 };

[[noreturn]] void Fail(const std::string& what)
{
    throw std::runtime_error("udp relay: " + what + ": " + std::strerror(errno));
}

sockaddr_in LoopbackAddress(uint16_t port)
{
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = htons(port);
    return address;
}

// A non-blocking UDP socket bound to a free loopback port.
int OpenLoopbackSocket()
{
    const int fd = socket(AF_INET, SOCK_DGRAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    if (fd < 0)
        Fail("cannot open a socket");
    setsockopt(fd, SOL_SOCKET, SO_RCVBUF, &kSocketBufferBytes, sizeof kSocketBufferBytes);
    setsockopt(fd, SOL_SOCKET, SO_SNDBUF, &kSocketBufferBytes, sizeof kSocketBufferBytes);
    const sockaddr_in any = LoopbackAddress(0);
    if (bind(fd, reinterpret_cast<const sockaddr*>(&any), sizeof any) != 0) {
        close(fd);
        Fail("cannot bind a loopback port");
    }
    return fd;
}

uint16_t BoundPort(int fd)
{
    sockaddr_in bound{};
    socklen_t length = sizeof bound;
    if (getsockname(fd, reinterpret_cast<sockaddr*>(&bound), &length) != 0)
        Fail("cannot read the bound port");
    return ntohs(bound.sin_port);
}

bool SameAddress(const sockaddr_in& a, const sockaddr_in& b)
{
    return a.sin_addr.s_addr == b.sin_addr.s_addr && a.sin_port == b.sin_port;
}

// What becomes of one datagram. Every datagram draws the same four numbers,
// whatever its fate, so a seed gives the same fates to the same traffic.
struct Fate {
    bool lost = false;
    bool duplicated = false;
    bool reordered = false;
    Clock::duration delay{};
};

}  // namespace

struct UdpRelay::Link {
    // One console: its address, its own socket towards the server, and for
    // each way the release time of its latest datagram, which keeps jitter
    // from reordering.
    struct Flow {
        sockaddr_in console{};
        int towardServer = -1;
        Clock::time_point lastRelease[kWayCount]{};
    };

    struct Scheduled {
        Clock::time_point at;
        uint64_t order = 0;  // arrival order breaks ties
        int fd = -1;
        sockaddr_in to{};
        std::vector<uint8_t> bytes;
    };

    struct Later {
        bool operator()(const Scheduled& a, const Scheduled& b) const
        {
            return a.at != b.at ? a.at > b.at : a.order > b.order;
        }
    };

    Link(uint16_t serverPort, uint32_t seed) : server(LoopbackAddress(serverPort)), random(seed)
    {
        front = OpenLoopbackSocket();
    }

    ~Link()
    {
        close(front);
        for (const Flow& flow : flows)
            close(flow.towardServer);
    }

    Flow& FlowOf(const sockaddr_in& console)
    {
        for (Flow& flow : flows)
            if (SameAddress(flow.console, console))
                return flow;
        Flow flow;
        flow.console = console;
        flow.towardServer = OpenLoopbackSocket();
        flows.push_back(flow);
        return flows.back();
    }

    Fate Draw(const LinkConditions& conditions)
    {
        std::uniform_real_distribution<double> share(0.0, 1.0);
        const double loss = share(random), duplicate = share(random), reorder = share(random);
        const double jitterShare = share(random) * 2.0 - 1.0;
        Fate fate;
        fate.lost = loss < conditions.lossRate;
        fate.duplicated = duplicate < conditions.duplicateRate;
        fate.reordered = reorder < conditions.reorderRate;
        const double delayMs = std::max(
            0.0, static_cast<double>(conditions.delay.count()) + jitterShare * static_cast<double>(conditions.jitter.count()));
        fate.delay = std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double, std::milli>(delayMs));
        return fate;
    }

    // Queues the datagram for release as its fate says.
    void Schedule(Flow& flow, Way way, std::vector<uint8_t> bytes, const Fate& fate,
                  std::chrono::milliseconds reorderHold, Clock::time_point now)
    {
        Clock::time_point& fifo = flow.lastRelease[way];
        Clock::time_point at = std::max(now + fate.delay, fifo);
        if (fate.reordered)
            at += reorderHold;  // the FIFO clock stays, so what follows passes it
        else
            fifo = at;
        const int fd = way == kTowardServer ? flow.towardServer : front;
        const sockaddr_in to = way == kTowardServer ? server : flow.console;
        if (fate.duplicated)
            schedule.push({at, nextOrder++, fd, to, bytes});
        schedule.push({at, nextOrder++, fd, to, std::move(bytes)});
    }

    // Sends what is due; the number of datagrams sent.
    uint64_t ReleaseDue(Clock::time_point now)
    {
        uint64_t sent = 0;
        while (!schedule.empty() && schedule.top().at <= now) {
            const Scheduled& next = schedule.top();
            // A full socket buffer loses the datagram, as a link would.
            if (sendto(next.fd, next.bytes.data(), next.bytes.size(), 0, reinterpret_cast<const sockaddr*>(&next.to),
                       sizeof next.to) >= 0)
                ++sent;
            schedule.pop();
        }
        return sent;
    }

    // Milliseconds until the next release, rounded up; -1 when nothing waits.
    int WaitMs(Clock::time_point now) const
    {
        if (schedule.empty())
            return -1;
        const auto wait = std::chrono::ceil<std::chrono::milliseconds>(schedule.top().at - now);
        return static_cast<int>(std::max<int64_t>(0, wait.count()));
    }

    int front = -1;  // the consoles' side
    sockaddr_in server;
    std::vector<Flow> flows;  // few consoles: a list is quickest
    std::priority_queue<Scheduled, std::vector<Scheduled>, Later> schedule;
    std::mt19937 random;
    uint64_t nextOrder = 0;
};

UdpRelay::UdpRelay(uint16_t serverPort, const LinkConditions& chosen, uint32_t seed)
    : link(std::make_unique<Link>(serverPort, seed)), conditions(chosen)
{
    port = BoundPort(link->front);
    wakeFd = eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC);
    if (wakeFd < 0)
        Fail("cannot make the wake-up descriptor");
    thread = std::thread([this] { Run(); });
}

UdpRelay::~UdpRelay()
{
    stopping = true;
    const uint64_t one = 1;
    [[maybe_unused]] const ssize_t written = write(wakeFd, &one, sizeof one);
    thread.join();
    close(wakeFd);
}

void UdpRelay::SetConditions(const LinkConditions& chosen)
{
    std::lock_guard<std::mutex> lock(mutex);
    conditions = chosen;
}

RelayCounts UdpRelay::Counts() const
{
    std::lock_guard<std::mutex> lock(mutex);
    return counts;
}

void UdpRelay::Run()
{
    std::vector<uint8_t> buffer(kMaxDatagram);
    std::vector<pollfd> watched;
    // Takes every datagram waiting on the socket and gives each its fate.
    auto admitAll = [&](int fd, Way way, Link::Flow* flow) {
        for (;;) {
            sockaddr_in from{};
            socklen_t fromLength = sizeof from;
            const ssize_t size = recvfrom(fd, buffer.data(), buffer.size(), 0, reinterpret_cast<sockaddr*>(&from),
                                          &fromLength);
            if (size < 0)
                return;
            if (way == kTowardConsole && !SameAddress(from, link->server))
                continue;  // only the server speaks to a console's socket
            Link::Flow& target = flow ? *flow : link->FlowOf(from);
            Fate fate;
            std::chrono::milliseconds hold{};
            {
                std::lock_guard<std::mutex> lock(mutex);
                fate = link->Draw(conditions);
                hold = conditions.reorderHold;
                ++counts.received;
                counts.dropped += fate.lost ? 1 : 0;
                counts.duplicated += !fate.lost && fate.duplicated ? 1 : 0;
                counts.reordered += !fate.lost && fate.reordered ? 1 : 0;
            }
            if (!fate.lost)
                link->Schedule(target, way, std::vector<uint8_t>(buffer.begin(), buffer.begin() + size), fate, hold,
                               Clock::now());
        }
    };

    while (!stopping) {
        watched.assign({{wakeFd, POLLIN, 0}, {link->front, POLLIN, 0}});
        for (const Link::Flow& flow : link->flows)
            watched.push_back({flow.towardServer, POLLIN, 0});
        if (poll(watched.data(), watched.size(), link->WaitMs(Clock::now())) < 0 && errno != EINTR)
            break;
        if (stopping)
            break;
        if (watched[1].revents & POLLIN)
            admitAll(link->front, kTowardServer, nullptr);
        // The flows admitted just now are not in the watched list; their
        // sockets are read on the next round.
        for (size_t i = 2; i < watched.size(); ++i)
            if (watched[i].revents & POLLIN)
                admitAll(watched[i].fd, kTowardConsole, &link->flows[i - 2]);
        const uint64_t sent = link->ReleaseDue(Clock::now());
        if (sent > 0) {
            std::lock_guard<std::mutex> lock(mutex);
            counts.delivered += sent;
        }
    }
}
