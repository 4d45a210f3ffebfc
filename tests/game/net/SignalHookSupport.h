#pragma once
// Handing "signal" messages to the console's and the server's hooks as their
// dispatch would (key read, sender set), and a script host that records the
// events the server raises: for tests of the signal handlers without a network.

#include "game/net/MessageHooks.h"
#include "game/net/SignalMessage.h"
#include "tests/support/RecordingScriptHost.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace nettest {

using RecordingHost = qeltest::RecordingScriptHost;

// The key of "signal", then the record's code and payload.
template <typename Signal>
void WriteSignalMessage(QelNetworkMessage& message, const Signal& signal)
{
    message.WriteInt64(HashMessageName("signal"));
    WriteSignal(message, signal);
}

// The client is the one the handlers are handed (none: a console without one).
inline void DeliverToClient(QelNetworkMessage& message, CorvaneClient* client = nullptr)
{
    message.readIndex = 0;
    uint64_t key = 0;
    message.ReadInt64(key);
    ASSERT_TRUE(CallClientHook(key, message, client));
}

inline void DeliverToServer(QelNetworkMessage& message, uint64_t sender)
{
    message.sender = sender;
    message.readIndex = 0;
    uint64_t key = 0;
    message.ReadInt64(key);
    ASSERT_TRUE(CallServerHook(key, message));
}

template <typename Signal>
void SendToClientHook(const Signal& signal, CorvaneClient* client = nullptr)
{
    QelNetworkMessage message;
    WriteSignalMessage(message, signal);
    DeliverToClient(message, client);
}

template <typename Signal>
void SendToServerHook(const Signal& signal, uint64_t sender)
{
    QelNetworkMessage message;
    WriteSignalMessage(message, signal);
    DeliverToServer(message, sender);
}

}  // namespace nettest
