#pragma once
// The bytes a keyed target puts before every fuzzed frame, so that the fuzzer
// spends its effort on one handler's payload: nothing for a target fed whole
// messages, the key of a message name, or the key of "signal" and a code.

#include "engine/base/QelNetworkMessage.h"

#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

inline std::vector<uint8_t> MessagePrefix(std::string_view name, std::optional<uint16_t> signalCode)
{
    QelNetworkMessage message;
    if (!name.empty())
        message.WriteInt64(HashMessageName(name));
    if (signalCode)
        message.WriteInt16(*signalCode);
    return std::vector<uint8_t>(message.Data(), message.Data() + message.writeIndex);
}
