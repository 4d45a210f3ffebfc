#pragma once
// Reads a message's fields in order and says whether they were all there, so
// a handler can read everything first and apply nothing from a short message:
//
//     uint64_t id = 0; float x = 0; std::string name;
//     if (!ReadMessageFields(*message, id, x, name))
//         return;
//
// Floats are read from their bits, strings as a 16-bit length and the bytes.

#include "engine/base/QelNetworkMessage.h"

#include <cstdint>
#include <string>
#include <type_traits>

namespace qel::detail {

template <typename T>
void ReadField(QelNetworkMessage& message, T& field)
{
    if constexpr (std::is_same_v<T, std::string>)
        message.ReadString(field);
    else if constexpr (std::is_same_v<T, float>)
        message.ReadInt32(field);
    else if constexpr (sizeof(T) == 1)
        message.ReadInt8(field);
    else if constexpr (sizeof(T) == 2)
        message.ReadInt16(field);
    else if constexpr (sizeof(T) == 4)
        message.ReadInt32(field);
    else
        message.ReadInt64(field);
}

}  // namespace qel::detail

template <typename... Fields>
bool ReadMessageFields(QelNetworkMessage& message, Fields&... fields)
{
    (qel::detail::ReadField(message, fields), ...);
    return !message.IsBad();
}
