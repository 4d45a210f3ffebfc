#pragma once
// The world's sense of time that tick timers read: the current tick and the
// run generation. The world owns one and registers it while it exists; with
// none registered there is no world, and timers behave as they must then.

#include <cstdint>

struct SimulationClock {
    // Generations cycle through 0..9; a timer only has to tell its own run
    // from the ones just before it.
    static constexpr int32_t kGenerationCount = 10;
    // The latest tick a clock may be told: some 290,000 years of 33 ms ticks,
    // beyond any run, and far enough below the counter's limit that a timer
    // armed any number of ticks ahead still counts correctly.
    static constexpr int64_t kLatestTick = int64_t{1} << 48;

    int64_t time_tick_counter = 0;  // current tick; 0 after a Reset, +1 at the start of every tick
    int32_t generation = 0;         // run generation, 0..kGenerationCount-1

    // A Reset: the tick starts again at 0 in the next generation, so every
    // timer of the earlier run counts as expired.
    void StartNewRun()
    {
        time_tick_counter = 0;
        generation = (generation + 1) % kGenerationCount;
    }
};

// The clock of the world that exists, or null.
SimulationClock* CurrentSimulationClock();
// The world registers its clock when it is built and null when it goes.
void SetCurrentSimulationClock(SimulationClock* clock);
