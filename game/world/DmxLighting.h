#pragma once
// This machine's stage lighting as missions and the server ask for it: a DMX
// channel is given a behaviour (off, on, blink, sine, ramp up, ramp down or
// random flicker) with a speed and a low and high level. The shell's DMX
// output implements it; missions reach it for the server's own screen and
// the console's "signal" handler for a console. Without one (gDmxLighting
// null, as in the headless server) callers skip the call.
//
// Main thread only.

#include <cstdint>

// One request, as scripts and "signal" 57 carry it.
struct DmxChannelRequest {
    int32_t channel = 0;    // 0..kDmxConfigurableChannels-1
    int32_t behaviour = 0;  // DmxBehaviour
    int32_t speed = 0;      // 0..255, ticks per step less one
    int32_t low = 0;        // 0..255, slot level
    int32_t high = 0;       // 0..255
};

enum DmxBehaviour : int32_t {
    DMX_BEHAV_OFF = 0,
    DMX_BEHAV_ON = 1,
    DMX_BEHAV_BLINK = 2,
    DMX_BEHAV_SINE = 3,
    DMX_BEHAV_RAMP_UP = 4,
    DMX_BEHAV_RAMP_DOWN = 5,
    DMX_BEHAV_RANDOM = 6,
    DMX_BEHAV_MAX = 7,  // behaviours run 0..DMX_BEHAV_MAX-1
};

// Channels a request may name: the first half of the DMX universe.
constexpr int32_t kDmxConfigurableChannels = 256;
// Levels, and speeds, are one byte.
constexpr int32_t kDmxMaxLevel = 255;

// Why the request breaks the tables' bounds ("DMX channel is out of
// bounds.", "DMX behavior value is out of bounds.", "DMX speed value is out of
// bounds.", "DMX low value is out of bounds.", "DMX high value is out of
// bounds.", checked in that order), or null when it fits.
const char* DmxChannelFault(const DmxChannelRequest& request);

class DmxLighting {
public:
    virtual ~DmxLighting() = default;
    // Gives the channel its behaviour from the next computed frame. A request
    // that breaks the bounds changes nothing and gives its fault text
    // (DmxChannelFault); one that fits gives null.
    virtual const char* SetChannel(const DmxChannelRequest& request) = 0;
};

// This machine's lighting, or null.
extern DmxLighting* gDmxLighting;
