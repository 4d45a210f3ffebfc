#pragma once
// The input form of the network fuzz targets: a run of messages as they
// arrive one after another, each framed as
//
//     control (1 byte) | length (2 bytes, little-endian) | that many bytes
//
// The control byte says who sent the message (bits 0-1, a role of the
// fixture) and how many ticks the world runs after it (bits 2-3). A frame cut
// short by the end of the input keeps the bytes that are there, so every
// input means something. Header only: the seed tests write frames with it.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

struct FuzzFrame {
    int sender = 0;  // 0..3, a role of the fixture
    int ticks = 0;   // 0..3 ticks after the message
    std::span<const uint8_t> bytes;
};

class FuzzFrameReader {
public:
    static constexpr size_t kHeaderSize = 3;

    FuzzFrameReader(const uint8_t* data, size_t size) : rest(data, size) {}

    // The next frame; false at the end of the input.
    bool Next(FuzzFrame& frame)
    {
        if (rest.size() < kHeaderSize)
            return false;
        const uint8_t control = rest[0];
        const size_t length = std::min<size_t>(rest[1] | rest[2] << 8, rest.size() - kHeaderSize);
        frame.sender = control & 3;
        frame.ticks = (control >> 2) & 3;
        frame.bytes = rest.subspan(kHeaderSize, length);
        rest = rest.subspan(kHeaderSize + length);
        return true;
    }

private:
    std::span<const uint8_t> rest;
};

// Appends one frame; bytes beyond what a length can say are not written.
inline void AppendFuzzFrame(std::vector<uint8_t>& input, int sender, int ticks, std::span<const uint8_t> bytes)
{
    const size_t length = std::min<size_t>(bytes.size(), 0xFFFF);
    input.push_back(static_cast<uint8_t>((sender & 3) | (ticks & 3) << 2));
    input.push_back(static_cast<uint8_t>(length & 0xFF));
    input.push_back(static_cast<uint8_t>(length >> 8));
    input.insert(input.end(), bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(length));
}
