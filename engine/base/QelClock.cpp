#include "engine/base/QelClock.h"

#include <time.h>

#include <atomic>
#include <memory>
#include <utility>

namespace qel {

namespace {

// CLOCK_MONOTONIC counts from boot on Linux; the first frame's tick count
// relies on the clock already being far from zero.
uint32_t SteadyMilliseconds()
{
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    uint64_t ms = static_cast<uint64_t>(now.tv_sec) * 1000u + static_cast<uint64_t>(now.tv_nsec) / 1000000u;
    return static_cast<uint32_t>(ms);
}

// Network threads read the clock while a test swaps it, so the source is
// published atomically and a reader keeps its copy alive while it calls it.
std::atomic<std::shared_ptr<const MillisecondSource>>& Source()
{
    static std::atomic<std::shared_ptr<const MillisecondSource>> source;
    return source;
}

}  // namespace

uint32_t GetMilliseconds()
{
    std::shared_ptr<const MillisecondSource> source = Source().load();
    return source ? (*source)() : SteadyMilliseconds();
}

void SetMillisecondSource(MillisecondSource source)
{
    Source().store(source ? std::make_shared<const MillisecondSource>(std::move(source)) : nullptr);
}

ManualClock::ManualClock(uint32_t start) : now_(start)
{
    SetMillisecondSource([this] { return now_.load(); });
}

ManualClock::~ManualClock()
{
    SetMillisecondSource({});
}

}  // namespace qel
