#pragma once
// The wire to the lights: a USB-to-DMX interface that sends DMX frames (a
// break, a start code and the slot bytes). FtdiDmxTransport is the real one;
// tests record frames with their own.

#include <cstdint>
#include <span>

class DmxTransport {
public:
    virtual ~DmxTransport() = default;
    // Opens the first interface and sets its line up for DMX (250000 baud,
    // 8 data bits, no parity, 2 stop bits, no flow control, both directions
    // purged, RTS cleared); false when there is none or it cannot be set up.
    virtual bool Open() = 0;
    // One frame: the break, then the start code and the slots. False when the
    // interface did not take it (unplugged, for one); the next frame tries again.
    virtual bool SendFrame(uint8_t startCode, std::span<const uint8_t> slots) = 0;
    virtual void Close() = 0;
};
