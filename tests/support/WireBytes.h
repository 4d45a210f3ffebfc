#pragma once
// Bytes as the messages lay them down, written out field by field where a
// test pins what the code sends: little-endian numbers, floats by their bits,
// texts as a 16-bit length and the bytes.

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

namespace qeltest {

class WireBytes {
public:
    WireBytes& U8(uint8_t value) { return Int(value, 1); }
    WireBytes& U16(uint16_t value) { return Int(value, 2); }
    WireBytes& I32(int32_t value) { return Int(static_cast<uint32_t>(value), 4); }
    WireBytes& U64(uint64_t value) { return Int(value, 8); }
    WireBytes& F32(float value)
    {
        uint32_t bits = 0;
        std::memcpy(&bits, &value, sizeof bits);
        return Int(bits, 4);
    }
    WireBytes& Str(const std::string& text)
    {
        Int(text.size(), 2);
        bytes.insert(bytes.end(), text.begin(), text.end());
        return *this;
    }

    std::vector<uint8_t> bytes;

private:
    WireBytes& Int(uint64_t value, int size)
    {
        for (int i = 0; i < size; ++i)
            bytes.push_back(static_cast<uint8_t>(value >> (8 * i)));
        return *this;
    }
};

}  // namespace qeltest
