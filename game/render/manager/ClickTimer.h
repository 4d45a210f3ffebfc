#pragma once
// A console's local selection on the radar: a click shows the new target at
// once, for a window of two seconds, while the server takes it in; after
// that the selection is the server's stored one again (the default, which
// the radar refreshes every frame from the own ship's target keys). Times
// are the engine's milliseconds, compared in unsigned arithmetic so the
// clock may wrap.

#include <cstdint>

class ClickTimer {
public:
    static constexpr uint32_t kWindowMs = 2000;

    // False, and nothing changes, when the id is the current one already.
    bool Click(uint64_t id, uint32_t now);
    void SetDefault(uint64_t id) { defaultId = id; }
    // After the window: back to the default. True once, ms after a click.
    bool Elapsed(uint32_t ms, uint32_t now);

    uint64_t Current() const { return currentId; }
    uint64_t Previous() const { return previousId; }
    uint64_t Default() const { return defaultId; }

    bool operator==(const ClickTimer&) const = default;

private:
    uint64_t currentId = 0;
    uint64_t previousId = 0;
    uint64_t defaultId = 0;
    uint32_t clickTime = 0;
    uint32_t windowEnd = 0;
    bool inWindow = false;  // a click's window has not yet passed
    bool pending = false;
};
