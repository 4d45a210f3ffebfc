#include "game/net/PingTracker.h"

#include "engine/base/QelClock.h"

#include <algorithm>

int32_t PingTracker::IssueKey()
{
    // Counting through unsigned arithmetic wraps instead of overflowing.
    pingCounter = static_cast<int32_t>(static_cast<uint32_t>(pingCounter) + 1);
    const uint32_t now = qel::GetMilliseconds();
    DropStale(now);
    inFlight.push_back({pingCounter, now});
    return pingCounter;
}

// Consoles that never echo would otherwise leave a record behind every ping.
void PingTracker::DropStale(uint32_t now)
{
    std::erase_if(inFlight, [now](const PingInFlight& record) { return now - record.sentMs >= kStaleAfterMs; });
}

std::optional<uint32_t> PingTracker::Match(int32_t key)
{
    const uint32_t now = qel::GetMilliseconds();
    std::optional<uint32_t> roundTrip;
    for (size_t i = inFlight.size(); i-- > 0;) {
        const uint32_t age = now - inFlight[i].sentMs;
        if (inFlight[i].key == key)
            roundTrip = age;
        else if (age < kStaleAfterMs)
            continue;
        inFlight.erase(inFlight.begin() + static_cast<std::ptrdiff_t>(i));
    }
    return roundTrip;
}

bool PingTracker::ApplyEcho(int32_t key, float& ping)
{
    const std::optional<uint32_t> roundTrip = Match(key);
    if (!roundTrip)
        return false;
    ping = Smooth(ping, *roundTrip);
    return true;
}

float PingTracker::Smooth(float ping, uint32_t roundTripMs)
{
    return (ping * kSmoothingWeight + static_cast<float>(roundTripMs)) / (kSmoothingWeight + 1.0f);
}
