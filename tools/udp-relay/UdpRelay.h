#pragma once
// A poor link for tests and benchmarks: a UDP relay on loopback that sits
// between consoles and a server and drops, delays (with jitter), duplicates
// and reorders datagrams at chosen rates, drawing their fates from a fixed
// seed. Consoles connect to the relay's port as if it were the server; each
// console gets a socket of its own towards the server, so the server sees as
// many peers as there are consoles. Both directions suffer the same
// conditions, which may change while the relay runs (a link that drops
// entirely, then clears).
//
// Jitter alone never reorders: like the queue of a busy switch, a datagram
// is not delivered before one that reached the relay ahead of it on the same
// way. Reordering is its own rate: a datagram held back so later ones pass.
//
// A thread of its own forwards the datagrams; the public calls may be made
// from any thread.

#include <atomic>
#include <chrono>
#include <cstdint>
#include <memory>
#include <mutex>
#include <thread>

struct LinkConditions {
    double lossRate = 0.0;                      // 0..1, share of datagrams never delivered
    std::chrono::milliseconds delay{0};         // one-way delay of every delivered datagram
    std::chrono::milliseconds jitter{0};        // the delay varies uniformly within ± this
    double duplicateRate = 0.0;                 // 0..1, share of delivered datagrams delivered twice
    double reorderRate = 0.0;                   // 0..1, share held back so that later ones pass them
    std::chrono::milliseconds reorderHold{40};  // how much longer a reordered datagram takes

    // Delivers nothing at all.
    static LinkConditions Cut()
    {
        LinkConditions cut;
        cut.lossRate = 1.0;
        return cut;
    }
};

// What the relay did with the datagrams it was given, both directions.
struct RelayCounts {
    uint64_t received = 0;    // datagrams that reached the relay
    uint64_t dropped = 0;
    uint64_t duplicated = 0;  // extra copies made
    uint64_t reordered = 0;
    uint64_t delivered = 0;   // datagrams sent on, copies included
};

class UdpRelay {
public:
    // Relays to a server listening on the loopback port. Throws
    // std::runtime_error when its sockets cannot be made.
    UdpRelay(uint16_t serverPort, const LinkConditions& conditions, uint32_t seed);
    // Ends the thread; datagrams still on their way are lost.
    ~UdpRelay();
    UdpRelay(const UdpRelay&) = delete;
    UdpRelay& operator=(const UdpRelay&) = delete;

    // The loopback port consoles connect to.
    uint16_t Port() const { return port; }
    // Takes effect for datagrams that reach the relay from now on; those on
    // their way keep the fate already drawn for them.
    void SetConditions(const LinkConditions& conditions);
    RelayCounts Counts() const;

private:
    struct Link;

    void Run();

    std::unique_ptr<Link> link;  // sockets and datagrams on their way; the thread's alone
    uint16_t port = 0;
    mutable std::mutex mutex;    // guards the conditions and the counts
    LinkConditions conditions;
    RelayCounts counts;
    std::atomic<bool> stopping{false};
    int wakeFd = -1;  // written to end the thread's wait at once
    std::thread thread;
};
