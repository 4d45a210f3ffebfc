#pragma once
// Test support: RIFF/WAVE files built chunk by chunk, so a test states only
// what its case is about (a chunk out of order, a size that lies, a format
// the game cannot play).

#include <cstdint>
#include <cstring>
#include <optional>
#include <string>
#include <vector>

namespace qeltest {

class WaveBytes {
public:
    // A chunk; claimedSize, when given, is what its header says instead of
    // the real size. An odd-sized chunk gets its pad byte.
    WaveBytes& Chunk(const char* identifier, const std::string& data, std::optional<uint32_t> claimedSize = {})
    {
        chunks_.append(identifier, 4);
        Put32(chunks_, claimedSize.value_or(static_cast<uint32_t>(data.size())));
        chunks_ += data;
        if (data.size() % 2 == 1)
            chunks_ += '\0';
        return *this;
    }

    // A "fmt " chunk; blockAlign defaults to what the channels and bits need.
    WaveBytes& Format(uint16_t tag, uint16_t channels, uint32_t rate, uint16_t bits,
                      std::optional<uint16_t> blockAlign = {})
    {
        return Chunk("fmt ", FormatRecord(tag, channels, rate, bits, blockAlign));
    }

    // 16-bit PCM samples as a "data" chunk.
    WaveBytes& Samples16(const std::vector<int16_t>& samples)
    {
        std::string data;
        for (int16_t sample : samples)
            Put16(data, static_cast<uint16_t>(sample));
        return Chunk("data", data);
    }

    // The whole file; riffSize, when given, replaces the true size.
    std::vector<uint8_t> Bytes(std::optional<uint32_t> riffSize = {}) const
    {
        std::string file = "RIFF";
        Put32(file, riffSize.value_or(static_cast<uint32_t>(4 + chunks_.size())));
        file += "WAVE";
        file += chunks_;
        return std::vector<uint8_t>(file.begin(), file.end());
    }

    std::string Text() const
    {
        const std::vector<uint8_t> bytes = Bytes();
        return std::string(bytes.begin(), bytes.end());
    }

    static std::string FormatRecord(uint16_t tag, uint16_t channels, uint32_t rate, uint16_t bits,
                                    std::optional<uint16_t> blockAlign = {})
    {
        const uint16_t align = blockAlign.value_or(static_cast<uint16_t>(channels * (bits / 8)));
        std::string record;
        Put16(record, tag);
        Put16(record, channels);
        Put32(record, rate);
        Put32(record, rate * align);
        Put16(record, align);
        Put16(record, bits);
        return record;
    }

    static void Put16(std::string& out, uint16_t value)
    {
        out += static_cast<char>(value & 0xFF);
        out += static_cast<char>(value >> 8);
    }

    static void Put32(std::string& out, uint32_t value)
    {
        for (int shift = 0; shift < 32; shift += 8)
            out += static_cast<char>((value >> shift) & 0xFF);
    }

private:
    std::string chunks_;
};

// A 16-bit PCM file of the channels and rate holding the samples.
inline std::string Wave16(uint16_t channels, uint32_t rate, const std::vector<int16_t>& samples)
{
    return WaveBytes().Format(1, channels, rate, 16).Samples16(samples).Text();
}

}  // namespace qeltest
