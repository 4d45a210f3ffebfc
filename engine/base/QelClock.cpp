#include "engine/base/QelClock.h"

#include <time.h>

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

MillisecondSource& Source()
{
    static MillisecondSource source;
    return source;
}

}  // namespace

uint32_t GetMilliseconds()
{
    const MillisecondSource& source = Source();
    return source ? source() : SteadyMilliseconds();
}

void SetMillisecondSource(MillisecondSource source)
{
    Source() = std::move(source);
}

ManualClock::ManualClock(uint32_t start) : now_(start)
{
    SetMillisecondSource([this] { return now_; });
}

ManualClock::~ManualClock()
{
    SetMillisecondSource({});
}

}  // namespace qel
