#include "game/net/MessageQueues.h"

#include "engine/base/PerSecondCounterMap.h"

#include <chrono>
#include <cstdio>
#include <utility>

namespace {

// The receive thread yields this long between cycles.
constexpr auto kReceivePause = std::chrono::milliseconds(1);

}  // namespace

MessageQueues::MessageQueues(std::string side_)
    : side(std::move(side_)), cycleCounterName(side + " recieve messages per handler cycle")
{
}

MessageQueues::~MessageQueues()
{
    StopReceiving();
}

void MessageQueues::StartReceiving(ReceiveFunction receive)
{
    StopReceiving();
    runState = kRunning;
    receiveThread = std::thread(&MessageQueues::ReceiveLoop, this, std::move(receive));
}

void MessageQueues::StopReceiving()
{
    if (!receiveThread.joinable())
        return;
    {
        std::lock_guard<std::mutex> lock(mutex);
        runState = kStopRequested;
    }
    receiveThread.join();
}

void MessageQueues::ReceiveLoop(ReceiveFunction receive)
{
    for (;;) {
        RunState stateThisCycle;
        int received = 0;
        {
            std::lock_guard<std::mutex> lock(mutex);
            stateThisCycle = runState;
            received = ReceiveCycleLocked(receive);
        }
        AddPerSecondCounter(static_cast<float>(received), cycleCounterName);
        std::this_thread::sleep_for(kReceivePause);
        // A stop request is honoured one cycle after it was seen.
        if (stateThisCycle != kRunning) {
            std::lock_guard<std::mutex> lock(mutex);
            runState = kEnded;
            return;
        }
    }
}

int MessageQueues::ReceiveCycle(const ReceiveFunction& receive)
{
    std::lock_guard<std::mutex> lock(mutex);
    return ReceiveCycleLocked(receive);
}

int MessageQueues::ReceiveCycleLocked(const ReceiveFunction& receive)
{
    int received = 0;
    for (;;) {
        MessagePtr buffer = TakeFreeBuffer();
        if (!receive(*buffer)) {
            freeList.push_back(std::move(buffer));
            return received;
        }
        queues[fillingIndex].push_back(std::move(buffer));
        framesSinceLastMessage = 0;
        ++received;
    }
}

MessageQueues::MessagePtr MessageQueues::TakeFreeBuffer()
{
    if (freeList.empty())
        return std::make_unique<QelNetworkMessage>();
    MessagePtr buffer = std::move(freeList.back());
    freeList.pop_back();
    buffer->Reset();
    return buffer;
}

int MessageQueues::Dispatch(const HandlerCall& call)
{
    // Only the main thread changes the filling index, so the dispatch queue
    // can be read without the lock: the receive thread never touches it.
    std::vector<MessagePtr>& queue = queues[1 - fillingIndex];
    waitingAtDispatch = static_cast<int>(queue.size());
    const size_t count = std::min(queue.size(), static_cast<size_t>(std::max(dispatchLimit, 0)));
    for (size_t i = 0; i < count; ++i) {
        HandOn(*queue[i], call);
        Recycle(std::move(queue[i]));
    }
    queue.erase(queue.begin(), queue.begin() + static_cast<std::ptrdiff_t>(count));
    if (queue.empty()) {
        std::lock_guard<std::mutex> lock(mutex);
        fillingIndex = 1 - fillingIndex;
    }
    return static_cast<int>(count);
}

void MessageQueues::HandOn(QelNetworkMessage& message, const HandlerCall& call)
{
    if (message.writeIndex < kKeySize) {
        ReportDrop(dropped.tooShort, message, "shorter than its 8-byte key");
        return;
    }
    message.readIndex = 0;
    uint64_t key = 0;
    message.ReadInt64(key);
    if (!call(key, message)) {
        ReportDrop(dropped.unknownKey, message, "no handler for its key");
        return;
    }
    if (message.IsBad())
        ReportDrop(dropped.malformed, message, "its handler read past its end, so nothing of it was applied");
}

void MessageQueues::Recycle(MessagePtr message)
{
    std::lock_guard<std::mutex> lock(mutex);
    freeList.push_back(std::move(message));
}

void MessageQueues::ReportDrop(uint64_t& counter, const QelNetworkMessage& message, const char* reason)
{
    if (counter++ == 0)
        std::fprintf(stderr,
                     "%s network: dropped a message of %d bytes from peer %llu: %s; later ones are "
                     "counted and shown when the game ends\n",
                     side.c_str(), message.writeIndex, static_cast<unsigned long long>(message.sender), reason);
}

std::string MessageQueues::DescribeRefused(uint64_t oversizedPackets) const
{
    const std::pair<uint64_t, const char*> counts[] = {
        {dropped.tooShort, " too short for a key"},
        {dropped.unknownKey, " with a key no handler takes"},
        {dropped.malformed, " read past their end by a handler"},
        {oversizedPackets, " packets too large to be a message"},
    };
    std::string parts;
    for (const auto& [count, what] : counts) {
        if (count != 0)
            parts += (parts.empty() ? "" : ", ") + std::to_string(count) + what;
    }
    return parts.empty() ? "" : side + " network: messages refused this run: " + parts;
}

size_t MessageQueues::FreeBufferCount()
{
    std::lock_guard<std::mutex> lock(mutex);
    return freeList.size();
}

size_t MessageQueues::QueuedCount()
{
    std::lock_guard<std::mutex> lock(mutex);
    return queues[0].size() + queues[1].size();
}
