#pragma once
// DMX through a USB-to-DMX interface built on an FTDI chip, with libftdi1.

#include "game/shell/DmxTransport.h"

#include <vector>

struct ftdi_context;

class FtdiDmxTransport : public DmxTransport {
public:
    // DMX512's line: 250 kbit/s.
    static constexpr int kBaudRate = 250000;

    FtdiDmxTransport() = default;
    ~FtdiDmxTransport() override;
    FtdiDmxTransport(const FtdiDmxTransport&) = delete;
    FtdiDmxTransport& operator=(const FtdiDmxTransport&) = delete;

    bool Open() override;
    bool SendFrame(uint8_t startCode, std::span<const uint8_t> slots) override;
    void Close() override;

private:
    bool SetUpLine();

    ftdi_context* context = nullptr;
    bool opened = false;
    std::vector<uint8_t> packet;  // start code and slots, reused by every frame
};
