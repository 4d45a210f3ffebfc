#pragma once
// A deadline in world ticks, tagged with the run generation it was set in, so
// a deadline left over from an earlier run never holds anything up in this one.

#include <cstdint>

class simulationTimer {
public:
    // The deadline is now (both 0 without a world).
    void SetNow();
    // The deadline is this many seconds (of 33 ms ticks) from now; truncated
    // toward zero, so 1 second is 30 ticks. Without a world nothing changes.
    void SetSeconds(int32_t seconds);
    // The same for milliseconds: 32 ms is 0 ticks.
    void SetMilliseconds(int32_t ms);
    // Without a world: never. A timer of another run, or a zeroed one: always.
    // Else once the world's tick reaches the deadline.
    bool IsExpired() const;

    int64_t tick = 0;        // deadline, in ticks of the world's counter
    int32_t generation = 0;  // run generation it was set in

    bool operator==(const simulationTimer&) const = default;
};
