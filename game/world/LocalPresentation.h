#pragma once
// What the world shows and sounds on this machine's own screen and speakers:
// the shell, the sound service and the widgets implement it. A headless
// server has none, and the world then simply skips these calls.

#include <cstdint>
#include <string>

class LocalPresentation {
public:
    virtual ~LocalPresentation() = default;
    // A positive count of seconds ramps up the looped jump sound toward the
    // jump; zero or less stops it.
    virtual void PlayJumpSound(int32_t secondsLeft) = 0;
    // The jump screen effect, for the given seconds.
    virtual void StartJumpEffect(int32_t seconds) = 0;
    // A sound file from the data folder, on this machine only; volume and
    // pitch 1 are the file as recorded.
    virtual void PlayAudioFile(const std::string& fileName, float volume, float pitch) = 0;
};
