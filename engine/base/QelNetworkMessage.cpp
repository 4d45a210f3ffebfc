#include "engine/base/QelNetworkMessage.h"

#include "helper/GeneralUtils.h"

#include <cstring>
#include <type_traits>

QelNetworkMessage::QelNetworkMessage() : buffer(new uint8_t[kMessageBufferSize]) {}

QelNetworkMessage::~QelNetworkMessage()
{
    delete[] buffer;
}

void QelNetworkMessage::Reset()
{
    writeIndex = 0;
    readIndex = 0;
    sender = 0;
    recipients.clear();
    bad = false;
    overflowed = false;
}

bool QelNetworkMessage::Fits(int32_t size)
{
    if (size < 0 || size > bufferSize - writeIndex) {
        overflowed = true;
        return false;
    }
    return true;
}

bool QelNetworkMessage::CanRead(int32_t size)
{
    if (bad || size < 0 || size > writeIndex - readIndex) {
        bad = true;
        return false;
    }
    return true;
}

void QelNetworkMessage::ReadRaw(void* out, int32_t size)
{
    std::memcpy(out, buffer + readIndex, static_cast<size_t>(size));
    readIndex += size;
}

QelNetworkMessage& QelNetworkMessage::WriteBytes(const void* data, int32_t length)
{
    if (!Fits(length))
        return *this;
    if (length > 0)
        std::memcpy(buffer + writeIndex, data, static_cast<size_t>(length));
    writeIndex += length;
    return *this;
}

template <typename T>
QelNetworkMessage& QelNetworkMessage::WriteLittleEndian(T value)
{
    static_assert(std::is_unsigned_v<T>);
    uint8_t bytes[sizeof(T)];
    for (size_t i = 0; i < sizeof(T); ++i)
        bytes[i] = static_cast<uint8_t>(value >> (8 * i));
    return WriteBytes(bytes, sizeof(T));
}

template <typename T>
QelNetworkMessage& QelNetworkMessage::ReadLittleEndian(T& out)
{
    using Unsigned = std::make_unsigned_t<T>;
    out = 0;
    if (!CanRead(sizeof(T)))
        return *this;
    uint8_t bytes[sizeof(T)];
    ReadRaw(bytes, sizeof(T));
    Unsigned value = 0;
    for (size_t i = 0; i < sizeof(T); ++i)
        value |= static_cast<Unsigned>(static_cast<Unsigned>(bytes[i]) << (8 * i));
    out = static_cast<T>(value);
    return *this;
}

QelNetworkMessage& QelNetworkMessage::WriteInt8(int32_t value)
{
    return WriteLittleEndian(static_cast<uint8_t>(value));
}

QelNetworkMessage& QelNetworkMessage::WriteInt16(int32_t value)
{
    return WriteLittleEndian(static_cast<uint16_t>(value));
}

QelNetworkMessage& QelNetworkMessage::WriteInt32(int32_t value)
{
    return WriteLittleEndian(static_cast<uint32_t>(value));
}

QelNetworkMessage& QelNetworkMessage::WriteInt64(uint64_t value)
{
    return WriteLittleEndian(value);
}

QelNetworkMessage& QelNetworkMessage::WriteFloat(float value)
{
    uint32_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    return WriteLittleEndian(bits);
}

QelNetworkMessage& QelNetworkMessage::WriteString(std::string_view text)
{
    // Length and bytes go in together or not at all, so a refused string
    // never leaves a dangling length field behind.
    const int64_t total = 2 + static_cast<int64_t>(text.size());
    if (total > bufferSize - writeIndex) {
        overflowed = true;
        return *this;
    }
    WriteInt16(static_cast<int32_t>(text.size()));
    return WriteBytes(text.data(), static_cast<int32_t>(text.size()));
}

QelNetworkMessage& QelNetworkMessage::ReadInt8(int8_t& out) { return ReadLittleEndian(out); }
QelNetworkMessage& QelNetworkMessage::ReadInt8(uint8_t& out) { return ReadLittleEndian(out); }
QelNetworkMessage& QelNetworkMessage::ReadInt16(int16_t& out) { return ReadLittleEndian(out); }
QelNetworkMessage& QelNetworkMessage::ReadInt16(uint16_t& out) { return ReadLittleEndian(out); }
QelNetworkMessage& QelNetworkMessage::ReadInt32(int32_t& out) { return ReadLittleEndian(out); }
QelNetworkMessage& QelNetworkMessage::ReadInt32(uint32_t& out) { return ReadLittleEndian(out); }
QelNetworkMessage& QelNetworkMessage::ReadInt64(int64_t& out) { return ReadLittleEndian(out); }
QelNetworkMessage& QelNetworkMessage::ReadInt64(uint64_t& out) { return ReadLittleEndian(out); }

QelNetworkMessage& QelNetworkMessage::ReadInt32(float& out)
{
    uint32_t bits = 0;
    ReadLittleEndian(bits);
    std::memcpy(&out, &bits, sizeof out);
    return *this;
}

QelNetworkMessage& QelNetworkMessage::ReadString(std::string& out)
{
    out.clear();
    int16_t length = 0;
    ReadLittleEndian(length);
    if (!CanRead(length))
        return *this;
    out.assign(reinterpret_cast<const char*>(buffer + readIndex), static_cast<size_t>(length));
    readIndex += length;
    TrimStoredText(out);
    return *this;
}
