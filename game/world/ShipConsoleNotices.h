#pragma once
// What the world tells the consoles of one ship, other than replicated state:
// the server's network layer implements it with its "signal" writers, so the
// payloads are written in one place. A world without it (a client, a test
// world) tells nobody.

#include <cstdint>

class ShipConsoleNotices {
public:
    virtual ~ShipConsoleNotices() = default;
    // The ship's jump drive is counting down: whole seconds left, at least 1.
    virtual void JumpCountdown(uint64_t shipId, int32_t secondsLeft) = 0;
    // The ship has arrived from a jump at the tick; the consoles show the jump
    // effect for the seconds given.
    virtual void JumpArrived(uint64_t shipId, int64_t tick, int64_t effectSeconds) = 0;
    // The ship was hit, or struck something: the consoles flash by the
    // amount (finite, at least 0).
    virtual void DamageFlash(uint64_t shipId, float amount) = 0;
};
