#pragma once
// One frame of the program: the game's per-frame steps, the fixed 33 ms
// simulation steps that catch up with the clock, the input update, the draw and
// the present, always in that order. Needs no window, so it is tested with a
// hand-driven clock.

#include <cstdint>

class QelFrameServices;
class QelGameLoop;

class QelFrameLoop {
public:
    // The simulation always advances in steps of this size.
    static constexpr uint32_t kTickMilliseconds = 33;
    // Time a single frame may add to the backlog; a longer stall is dropped
    // rather than replayed, so at most six ticks run in one frame.
    static constexpr uint32_t kMaxBacklogGainMilliseconds = 200;

    QelFrameLoop(QelGameLoop& game, QelFrameServices& services);

    void Frame();

    uint32_t Backlog() const { return backlog_; }

private:
    void RunFixedSteps();
    void Tick();

    QelGameLoop& game_;
    QelFrameServices& services_;
    uint32_t backlog_ = 0;           // ms not yet consumed by ticks
    uint32_t lastTickClockTime_ = 0; // clock ms at the end of the last fixed-step pass
};
