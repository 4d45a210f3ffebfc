#pragma once
// Signals as a handler sees them: written whole, then read from the start
// with the code taken off.

#include "game/net/SignalMessage.h"

#include <gtest/gtest.h>

namespace signaltest {

template <typename Signal>
bool RoundTrip(const Signal& sent, Signal& received, QelNetworkMessage& m)
{
    WriteSignal(m, sent);
    uint16_t code = 0xFFFF;
    EXPECT_TRUE(ReadSignalCode(m, code));
    EXPECT_EQ(code, Signal::kCode);
    return ReadSignal(m, received);
}

}  // namespace signaltest
