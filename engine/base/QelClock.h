#pragma once
// The engine's millisecond clock: an unsigned 32-bit count of milliseconds on a
// steady clock that counts from boot, so it never jumps with the wall time.
// Tests replace it with a clock they drive by hand.

#include <atomic>
#include <cstdint>
#include <functional>

namespace qel {

using MillisecondSource = std::function<uint32_t()>;

// Milliseconds since boot (wraps after about 49 days, as the counters expect).
uint32_t GetMilliseconds();

// Replaces the clock; an empty source restores the steady clock. Safe while
// other threads read the clock.
void SetMillisecondSource(MillisecondSource source);

// A clock for tests: time stands still until the test moves it.
class ManualClock {
public:
    explicit ManualClock(uint32_t start = 0);
    ~ManualClock();  // restores the steady clock
    ManualClock(const ManualClock&) = delete;
    ManualClock& operator=(const ManualClock&) = delete;

    void Advance(uint32_t milliseconds) { now_ += milliseconds; }
    void Set(uint32_t milliseconds) { now_ = milliseconds; }
    uint32_t Now() const { return now_; }

private:
    std::atomic<uint32_t> now_;
};

}  // namespace qel
