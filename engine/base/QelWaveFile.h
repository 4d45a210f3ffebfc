#pragma once
// RIFF/WAVE files as the sound service reads them. Every chunk is checked
// against the bytes that are really there; the samples come out as 16-bit
// signed PCM whatever the file holds (8-, 24- and 32-bit integer PCM and 32-
// or 64-bit float PCM are converted), and any other encoding is refused with
// a text that says why.

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

// The format record as the file's "fmt " chunk gives it.
struct QelWaveFormat {
    uint16_t formatTag = 0;  // 1 integer PCM, 3 float PCM, 0xFFFE extensible
    uint16_t channels = 0;
    uint32_t sampleRate = 0;  // frames per second
    uint32_t averageBytesPerSecond = 0;
    uint16_t blockAlign = 0;  // bytes per frame
    uint16_t bitsPerSample = 0;
    uint16_t extraSize = 0;  // bytes of the extension after the 16-byte record
};

struct QelWaveData {
    QelWaveFormat format;          // as read; the samples below are 16-bit whatever it says
    std::vector<int16_t> samples;  // interleaved by channel
    // Set when the data chunk claimed more bytes than the file holds; the
    // whole frames that are there were kept.
    bool truncated = false;

    int32_t Channels() const { return format.channels; }
    int32_t Frames() const { return format.channels == 0 ? 0 : static_cast<int32_t>(samples.size() / format.channels); }
};

// Files larger than this are no sound effect (one minute of 8-channel 96 kHz
// 32-bit audio fits), and are not read into memory.
constexpr uint64_t kMaxWaveFileBytes = 192u * 1024u * 1024u;

// Reads a whole file held in memory; nothing, with the reason in error, when
// it is not a WAV file the game can play.
std::optional<QelWaveData> ReadWAVFile(std::span<const uint8_t> bytes, std::string& error);

// Reads the file at the path (an operating-system path) the same way.
std::optional<QelWaveData> ReadWAVFile(const std::string& path, std::string& error);
