#include "game/shell/FtdiDmxTransport.h"

#include <ftdi.h>

#include <algorithm>

FtdiDmxTransport::~FtdiDmxTransport()
{
    Close();
}

// The first FTDI device of the known vendor and product ids.
bool FtdiDmxTransport::Open()
{
    Close();
    context = ftdi_new();
    if (context == nullptr)
        return false;
    ftdi_device_list* devices = nullptr;
    const bool found = ftdi_usb_find_all(context, &devices, 0, 0) > 0;
    opened = found && ftdi_usb_open_dev(context, devices->dev) == 0;
    ftdi_list_free(&devices);
    if (!opened || !SetUpLine()) {
        Close();
        return false;
    }
    return true;
}

bool FtdiDmxTransport::SetUpLine()
{
    return ftdi_set_baudrate(context, kBaudRate) == 0 &&
           ftdi_set_line_property2(context, BITS_8, STOP_BIT_2, NONE, BREAK_OFF) == 0 &&
           ftdi_setflowctrl(context, SIO_DISABLE_FLOW_CTRL) == 0 && ftdi_tcioflush(context) == 0 &&
           ftdi_setrts(context, 0) == 0;
}

// The break is set and cleared back to back: the two USB requests between
// them hold it far longer than the 88 microseconds DMX asks for.
bool FtdiDmxTransport::SendFrame(uint8_t startCode, std::span<const uint8_t> slots)
{
    if (!opened)
        return false;
    packet.resize(slots.size() + 1);
    packet[0] = startCode;
    std::copy(slots.begin(), slots.end(), packet.begin() + 1);
    const int size = static_cast<int>(packet.size());
    return ftdi_set_line_property2(context, BITS_8, STOP_BIT_2, NONE, BREAK_ON) == 0 &&
           ftdi_set_line_property2(context, BITS_8, STOP_BIT_2, NONE, BREAK_OFF) == 0 &&
           ftdi_write_data(context, packet.data(), size) == size;
}

void FtdiDmxTransport::Close()
{
    if (context == nullptr)
        return;
    if (opened)
        ftdi_usb_close(context);
    ftdi_free(context);
    context = nullptr;
    opened = false;
}
