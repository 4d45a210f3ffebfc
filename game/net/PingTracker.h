#pragma once
// The server's round-trip measurement: each ping "signal" carries a fresh key
// and its send time is kept until the console echoes the key back.

#include <cstdint>
#include <optional>
#include <vector>

class PingTracker {
public:
    // An echo older than this is never coming; its record is dropped.
    static constexpr uint32_t kStaleAfterMs = 15001;
    // The smoothed ping keeps this many parts of its old value to one of the
    // new round trip.
    static constexpr float kSmoothingWeight = 10.0f;

    // The next key (keys count up over the whole run), recorded as sent now;
    // records gone stale are dropped first.
    int32_t IssueKey();
    // The age of the key's record, which is removed; records gone stale are
    // dropped on the way. Nothing when the key has no record.
    std::optional<uint32_t> Match(int32_t key);
    // Folds the echo of a key into the ping; an echo whose record is gone
    // leaves the ping as it was and returns false.
    bool ApplyEcho(int32_t key, float& ping);

    static float Smooth(float ping, uint32_t roundTripMs);

    int32_t LastKey() const { return pingCounter; }
    size_t InFlightCount() const { return inFlight.size(); }

private:
    struct PingInFlight {
        int32_t key;
        uint32_t sentMs;  // engine clock
    };

    void DropStale(uint32_t now);

    int32_t pingCounter = 0;
    std::vector<PingInFlight> inFlight;  // oldest first
};
