#pragma once
// One network message: a fixed 10000-byte buffer that writers append to and
// readers consume, little-endian and unpadded. The first 8 bytes are always the
// message key (see HashMessageName).
//
// Messages arrive from peers, so reading can never go wrong: a read past what
// was written, or a string whose length field is negative or larger than the
// bytes left, marks the message bad, and every read from then on yields 0 or
// "". Writing never goes past the buffer: a write that does not fit is refused
// whole and marks the message overflowed.

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

class QelNetworkMessage {
public:
    // Every message of the game fits in this many bytes; writers that may
    // produce more split their output over several messages.
    static constexpr int32_t kMessageBufferSize = 10000;

    QelNetworkMessage();
    ~QelNetworkMessage();
    QelNetworkMessage(const QelNetworkMessage&) = delete;
    QelNetworkMessage& operator=(const QelNetworkMessage&) = delete;

    // Empties the message for reuse, keeping its buffer.
    void Reset();

    QelNetworkMessage& WriteBytes(const void* data, int32_t length);
    QelNetworkMessage& WriteInt8(int32_t value);   // low byte of the value
    QelNetworkMessage& WriteInt16(int32_t value);  // low two bytes
    QelNetworkMessage& WriteInt32(int32_t value);
    QelNetworkMessage& WriteInt64(uint64_t value);
    QelNetworkMessage& WriteFloat(float value);
    // 16-bit length, then the bytes, no terminator.
    QelNetworkMessage& WriteString(std::string_view text);

    QelNetworkMessage& ReadInt8(int8_t& out);
    QelNetworkMessage& ReadInt8(uint8_t& out);
    QelNetworkMessage& ReadInt16(int16_t& out);
    QelNetworkMessage& ReadInt16(uint16_t& out);
    QelNetworkMessage& ReadInt32(int32_t& out);
    QelNetworkMessage& ReadInt32(uint32_t& out);
    QelNetworkMessage& ReadInt32(float& out);  // the float's bits
    QelNetworkMessage& ReadInt64(int64_t& out);
    QelNetworkMessage& ReadInt64(uint64_t& out);
    // Drops blanks (space, \t \n \v \f \r) from the front and NULs from the end.
    QelNetworkMessage& ReadString(std::string& out);

    // A read went past the end of what was written; the rest read as 0.
    bool IsBad() const { return bad; }
    // A write was refused because it would not fit.
    bool IsOverflowed() const { return overflowed; }
    int32_t BytesLeftToRead() const { return writeIndex - readIndex; }
    int32_t BytesLeftToWrite() const { return bufferSize - writeIndex; }
    const uint8_t* Data() const { return buffer; }

    uint8_t* buffer;             // owned, bufferSize bytes
    int32_t writeIndex = 0;      // bytes written; writers append here
    int32_t readIndex = 0;       // next byte to read
    int32_t bufferSize = kMessageBufferSize;
    uint64_t sender = 0;         // peer the message came from (0 on a client)
    std::vector<uint64_t> recipients;  // client ids a server send goes to

private:
    bool Fits(int32_t size);
    bool CanRead(int32_t size);
    void ReadRaw(void* out, int32_t size);
    template <typename T> QelNetworkMessage& WriteLittleEndian(T value);
    template <typename T> QelNetworkMessage& ReadLittleEndian(T& out);

    bool bad = false;
    bool overflowed = false;
};

// The 46-bit CRC that keys messages, behaviour hooks and data-set tags. Its
// table and the hash itself work at compile time, so a name written in the
// code becomes its key once, when the program is built.
class NameHash {
public:
    static constexpr uint64_t kPoly = 0x20184000041ull;
    static constexpr uint64_t kInit = 0x3FFFFFFFFFFFull;
    static constexpr uint64_t kXorOut = 0;
    static constexpr uint64_t kMask = 0x3FFFFFFFFFFFull;

    static constexpr uint64_t Hash(std::string_view name);
    static constexpr uint64_t TableEntry(int index);
};

namespace namehash_detail {

constexpr std::array<uint64_t, 256> BuildTable()
{
    constexpr uint64_t kTopBit = 1ull << 45;
    std::array<uint64_t, 256> table{};
    for (uint64_t i = 0; i < 256; ++i) {
        uint64_t r = i << 38;
        for (int bit = 0; bit < 8; ++bit)
            r = (r & kTopBit) ? (r << 1) ^ NameHash::kPoly : r << 1;
        table[i] = r & NameHash::kMask;
    }
    return table;
}

inline constexpr std::array<uint64_t, 256> kTable = BuildTable();

}  // namespace namehash_detail

constexpr uint64_t NameHash::Hash(std::string_view name)
{
    uint64_t h = kInit;
    for (char c : name) {
        const uint8_t b = static_cast<uint8_t>(c);
        h = ((h << 8) ^ namehash_detail::kTable[b ^ ((h >> 38) & 0xFF)]) & kMask;
    }
    return h ^ kXorOut;
}

constexpr uint64_t NameHash::TableEntry(int index)
{
    return namehash_detail::kTable[index];
}

// The key of a name, hashed exactly as passed (case-sensitive).
constexpr uint64_t HashMessageName(std::string_view name)
{
    return NameHash::Hash(name);
}
