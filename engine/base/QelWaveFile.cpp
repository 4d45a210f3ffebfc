#include "engine/base/QelWaveFile.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstring>
#include <filesystem>
#include <fstream>

namespace {

constexpr uint16_t kFormatIntegerPcm = 1;
constexpr uint16_t kFormatFloatPcm = 3;
constexpr uint16_t kFormatExtensible = 0xFFFE;

constexpr size_t kRiffHeaderBytes = 12;  // "RIFF", size, "WAVE"
constexpr size_t kChunkHeaderBytes = 8;  // identifier, size
constexpr size_t kPcmFormatBytes = 16;   // the format record without its extra size
// Offset, inside an extensible format's data, of the two bytes that name the
// real encoding (the first bytes of its sub-format identifier).
constexpr size_t kExtensibleSubFormatOffset = 24;

// The spoken rates of real audio; anything outside is a broken header.
constexpr uint32_t kMinSampleRate = 1000;
constexpr uint32_t kMaxSampleRate = 384000;
// More channels than surround sound has are a broken header.
constexpr uint16_t kMaxChannels = 8;

uint16_t Read16(const uint8_t* at)
{
    return static_cast<uint16_t>(at[0] | (at[1] << 8));
}

uint32_t Read32(const uint8_t* at)
{
    return static_cast<uint32_t>(at[0]) | (static_cast<uint32_t>(at[1]) << 8) |
           (static_cast<uint32_t>(at[2]) << 16) | (static_cast<uint32_t>(at[3]) << 24);
}

struct Chunk {
    size_t dataOffset = 0;
    uint32_t claimedSize = 0;  // as the header says
    size_t availableSize = 0;  // what the file really holds of it
};

// The first chunk of the identifier, walking from the first chunk while a
// whole chunk header lies before the end. A chunk's data runs for its size
// plus one pad byte when the size is odd.
std::optional<Chunk> FindChunk(std::span<const uint8_t> bytes, size_t end, const char* identifier)
{
    size_t offset = kRiffHeaderBytes;
    while (offset + kChunkHeaderBytes <= end) {
        const uint32_t size = Read32(&bytes[offset + 4]);
        const size_t dataOffset = offset + kChunkHeaderBytes;
        if (std::memcmp(&bytes[offset], identifier, 4) == 0)
            return Chunk{dataOffset, size, std::min<size_t>(size, end - dataOffset)};
        const uint64_t next = static_cast<uint64_t>(dataOffset) + size + (size & 1u);
        if (next > end)
            break;
        offset = static_cast<size_t>(next);
    }
    return std::nullopt;
}

// The encoding behind the tag: an extensible format names it in its
// sub-format.
uint16_t Encoding(const QelWaveFormat& format, std::span<const uint8_t> fmtData)
{
    if (format.formatTag != kFormatExtensible)
        return format.formatTag;
    if (fmtData.size() < kExtensibleSubFormatOffset + 2)
        return 0;
    return Read16(&fmtData[kExtensibleSubFormatOffset]);
}

int16_t FloatToSample(double value)
{
    if (!std::isfinite(value))
        return 0;
    return static_cast<int16_t>(std::clamp(value, -1.0, 1.0) * 32767.0);
}

// One sample of the given encoding and size as 16-bit signed: integer
// samples keep their top 16 bits, 8-bit ones are unsigned around 128.
int16_t ConvertSample(const uint8_t* at, uint16_t encoding, uint16_t bits)
{
    if (encoding == kFormatFloatPcm) {
        if (bits == 32) {
            return FloatToSample(std::bit_cast<float>(Read32(at)));
        }
        const uint64_t low = Read32(at);
        const uint64_t high = Read32(at + 4);
        return FloatToSample(std::bit_cast<double>(low | (high << 32)));
    }
    switch (bits) {
    case 8: return static_cast<int16_t>((at[0] - 128) * 256);
    case 16: return static_cast<int16_t>(Read16(at));
    case 24: return static_cast<int16_t>(Read16(at + 1));
    default: return static_cast<int16_t>(Read16(at + 2));  // 32
    }
}

bool Convertible(uint16_t encoding, uint16_t bits)
{
    if (encoding == kFormatIntegerPcm)
        return bits == 8 || bits == 16 || bits == 24 || bits == 32;
    if (encoding == kFormatFloatPcm)
        return bits == 32 || bits == 64;
    return false;
}

QelWaveFormat ReadFormat(const uint8_t* at, size_t size)
{
    QelWaveFormat format;
    format.formatTag = Read16(at);
    format.channels = Read16(at + 2);
    format.sampleRate = Read32(at + 4);
    format.averageBytesPerSecond = Read32(at + 8);
    format.blockAlign = Read16(at + 12);
    format.bitsPerSample = Read16(at + 14);
    format.extraSize = size >= kPcmFormatBytes + 2 ? Read16(at + 16) : 0;
    return format;
}

// Why the format cannot be played, or nothing when it can.
std::optional<std::string> FormatFault(const QelWaveFormat& format, uint16_t encoding)
{
    if (!Convertible(encoding, format.bitsPerSample)) {
        return "its samples are " + std::to_string(format.bitsPerSample) + "-bit of encoding " +
               std::to_string(encoding) + "; only 8-, 16-, 24- or 32-bit integer PCM and 32- or 64-bit float PCM play";
    }
    if (format.channels == 0 || format.channels > kMaxChannels)
        return "it claims " + std::to_string(format.channels) + " channels";
    if (format.sampleRate < kMinSampleRate || format.sampleRate > kMaxSampleRate)
        return "it claims a rate of " + std::to_string(format.sampleRate) + " frames per second";
    const uint32_t frameBytes = format.channels * (format.bitsPerSample / 8u);
    if (format.blockAlign != frameBytes) {
        return "its frames are " + std::to_string(format.blockAlign) + " bytes where " +
               std::to_string(format.channels) + " channels of " + std::to_string(format.bitsPerSample) +
               "-bit samples take " + std::to_string(frameBytes);
    }
    return std::nullopt;
}

}  // namespace

std::optional<QelWaveData> ReadWAVFile(std::span<const uint8_t> bytes, std::string& error)
{
    if (bytes.size() < kRiffHeaderBytes || std::memcmp(bytes.data(), "RIFF", 4) != 0 ||
        std::memcmp(bytes.data() + 8, "WAVE", 4) != 0) {
        error = "not a RIFF/WAVE file";
        return std::nullopt;
    }
    const uint32_t riffSize = Read32(bytes.data() + 4);
    if (riffSize <= 16) {
        error = "its RIFF size " + std::to_string(riffSize) + " leaves no room for a format and data";
        return std::nullopt;
    }
    // The chunks end where the RIFF size says, or earlier where the file does.
    const size_t end = static_cast<size_t>(std::min<uint64_t>(bytes.size(), uint64_t{riffSize} + 8));

    const std::optional<Chunk> fmt = FindChunk(bytes, end, "fmt ");
    if (!fmt) {
        error = "it has no \"fmt \" chunk";
        return std::nullopt;
    }
    if (fmt->claimedSize < kPcmFormatBytes || fmt->availableSize < fmt->claimedSize) {
        error = "its \"fmt \" chunk is " + std::to_string(fmt->availableSize) + " bytes, too short for a format";
        return std::nullopt;
    }
    const std::span<const uint8_t> fmtData = bytes.subspan(fmt->dataOffset, fmt->availableSize);
    QelWaveData wave;
    wave.format = ReadFormat(fmtData.data(), fmtData.size());
    const uint16_t encoding = Encoding(wave.format, fmtData);
    if (std::optional<std::string> fault = FormatFault(wave.format, encoding)) {
        error = *fault;
        return std::nullopt;
    }

    const std::optional<Chunk> data = FindChunk(bytes, end, "data");
    if (!data) {
        error = "it has no \"data\" chunk";
        return std::nullopt;
    }
    const size_t frameBytes = wave.format.blockAlign;
    const size_t frames = data->availableSize / frameBytes;
    wave.truncated = data->availableSize < data->claimedSize;
    const uint16_t sampleBytes = wave.format.bitsPerSample / 8;
    wave.samples.resize(frames * wave.format.channels);
    const uint8_t* at = bytes.data() + data->dataOffset;
    for (int16_t& sample : wave.samples) {
        sample = ConvertSample(at, encoding, wave.format.bitsPerSample);
        at += sampleBytes;
    }
    return wave;
}

std::optional<QelWaveData> ReadWAVFile(const std::string& path, std::string& error)
{
    std::error_code code;
    const uintmax_t size = std::filesystem::file_size(path, code);
    if (code) {
        error = "cannot be read (" + code.message() + ")";
        return std::nullopt;
    }
    if (size > kMaxWaveFileBytes) {
        error = "is " + std::to_string(size) + " bytes, more than a sound effect may be (" +
                std::to_string(kMaxWaveFileBytes) + ")";
        return std::nullopt;
    }
    std::ifstream stream(path, std::ios::binary);
    std::vector<uint8_t> bytes(static_cast<size_t>(size));
    if (!stream.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()))) {
        error = "cannot be read";
        return std::nullopt;
    }
    return ReadWAVFile(std::span<const uint8_t>(bytes), error);
}
