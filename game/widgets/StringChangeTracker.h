#pragma once
// A setting the console shows as changed at once while the server catches up:
// a change is sent kSendDelay after it was made (so a run of changes sends
// only the last), and the shown value returns to the server's kHold after
// the last change, whether or not the server took it. Times are the input
// clock's milliseconds; comparisons survive its wrap.

#include <cstdint>
#include <string>

struct StringChangeTracker {
    static constexpr uint32_t kSendDelay = 100;
    static constexpr uint32_t kHold = 2000;

    std::string value;        // what the console shows
    std::string previous;     // what it showed before the last change
    std::string serverValue;  // what the server last replicated
    uint32_t changeTime = 0;
    uint32_t holdUntil = 0;
    bool holding = false;  // the shown value is the user's until holdUntil
    bool changed = false;  // a change waits to be sent

    // The user picked a value; a pick of the value shown changes nothing.
    void Change(const std::string& newValue, uint32_t now);
    // Once a frame: the held value lapses to the server's, and a change whose
    // delay has passed is due. True, once, when it is to be sent now.
    bool Cycle(uint32_t now);

    bool operator==(const StringChangeTracker&) const = default;
};
