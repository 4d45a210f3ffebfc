#pragma once
// The double-buffered message queues shared by the console and the server.
// A receive thread polls the endpoint and appends each message to the filling
// queue; once per frame the main thread dispatches at most the dispatch limit
// from the other queue, in arrival order, and swaps the two when it has
// drained its queue. Buffers are recycled through a free list.
//
// Input from peers never stops the program: a message shorter than its key,
// one whose key has no handler, and one a handler read past the end of are
// dropped, counted and reported once.

#include "engine/base/QelNetworkMessage.h"

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

struct DroppedMessageCounts {
    uint64_t tooShort = 0;    // fewer bytes than the 8-byte key
    uint64_t unknownKey = 0;  // no handler for the key
    uint64_t malformed = 0;   // the handler read past the end
};

class MessageQueues {
public:
    // A burst of messages is spread over frames instead of stalling one.
    static constexpr int kDefaultDispatchLimit = 50;
    // Every message starts with its 64-bit key.
    static constexpr int32_t kKeySize = 8;

    enum RunState : int32_t { kRunning = 0, kStopRequested = 1, kEnded = 2 };

    // Fills the message from the endpoint; false when nothing is pending.
    // Called with Mutex() held, so endpoint calls never overlap.
    using ReceiveFunction = std::function<bool(QelNetworkMessage&)>;
    // Calls the handler of the key; false when the key has none.
    using HandlerCall = std::function<bool(uint64_t key, QelNetworkMessage&)>;

    // side ("client" or "server") names the counters and the log lines.
    explicit MessageQueues(std::string side);
    ~MessageQueues();  // stops the receive thread
    MessageQueues(const MessageQueues&) = delete;
    MessageQueues& operator=(const MessageQueues&) = delete;

    // Starts the receive thread; it runs ReceiveCycle every millisecond.
    void StartReceiving(ReceiveFunction receive);
    // Asks the thread to stop and waits for it; it may be started again.
    void StopReceiving();
    RunState GetRunState() const { return runState; }

    // One receive cycle: every pending message goes to the filling queue.
    // Returns how many arrived.
    int ReceiveCycle(const ReceiveFunction& receive);
    // One frame's dispatch; returns the number of messages handed on.
    int Dispatch(const HandlerCall& call);

    // Guards the queues and the endpoint; senders hold it around each send.
    std::mutex& Mutex() { return mutex; }

    void SetDispatchLimit(int limit) { dispatchLimit = limit; }
    int DispatchLimit() const { return dispatchLimit; }
    // Messages waiting in the dispatch queue when the last dispatch began.
    int WaitingAtDispatch() const { return waitingAtDispatch; }
    // Frames counted by NoteFrame since a message last arrived.
    int FramesSinceLastMessage() const { return framesSinceLastMessage; }
    void NoteFrame() { ++framesSinceLastMessage; }

    const DroppedMessageCounts& Dropped() const { return dropped; }
    // One line of what this side refused this run, with the packets its
    // endpoint found too large to be a message ("server network: messages
    // refused this run: 2 too short for a key, ..."); "" when nothing was.
    std::string DescribeRefused(uint64_t oversizedPackets) const;
    size_t FreeBufferCount();
    size_t QueuedCount();

private:
    using MessagePtr = std::unique_ptr<QelNetworkMessage>;

    void ReceiveLoop(ReceiveFunction receive);
    int ReceiveCycleLocked(const ReceiveFunction& receive);
    MessagePtr TakeFreeBuffer();
    void HandOn(QelNetworkMessage& message, const HandlerCall& call);
    void Recycle(MessagePtr message);
    void ReportDrop(uint64_t& counter, const QelNetworkMessage& message, const char* reason);

    std::string side;
    std::string cycleCounterName;
    std::thread receiveThread;
    std::mutex mutex;
    std::atomic<RunState> runState{kRunning};
    std::vector<MessagePtr> queues[2];
    std::vector<MessagePtr> freeList;
    int fillingIndex = 0;  // written under the mutex only
    std::atomic<int> framesSinceLastMessage{0};
    int waitingAtDispatch = 0;
    int dispatchLimit = kDefaultDispatchLimit;
    DroppedMessageCounts dropped;  // main thread only
};
