#include "engine/base/QelOggStream.h"

#define STB_VORBIS_HEADER_ONLY
#include <stb/stb_vorbis.h>

#include <cstring>
#include <fstream>

namespace {

// The comment header comes within this many bytes of a file's start; cover
// art can make it large, but a stream needs it before its first sound.
constexpr size_t kMaxHeaderBytes = 1u << 20;
constexpr size_t kPageHeaderBytes = 27;
constexpr char kCommentPacketStart[] = "\x03vorbis";
constexpr size_t kCommentPacketStartBytes = 7;

uint32_t ReadLittle32(const std::string& bytes, size_t at)
{
    uint32_t value = 0;
    for (size_t i = 0; i < 4; ++i)
        value |= static_cast<uint32_t>(static_cast<uint8_t>(bytes[at + i])) << (8 * i);
    return value;
}

// The second packet of the first pages (the comment header), or "" when the
// bytes end or stop being Ogg pages first.
std::string CommentPacket(const std::string& file)
{
    std::string packet;
    int packetIndex = 0;
    size_t at = 0;
    while (at + kPageHeaderBytes <= file.size() && file.compare(at, 4, "OggS") == 0) {
        const size_t segments = static_cast<uint8_t>(file[at + kPageHeaderBytes - 1]);
        size_t body = at + kPageHeaderBytes + segments;
        if (body > file.size())
            return "";
        for (size_t i = 0; i < segments; ++i) {
            const size_t lacing = static_cast<uint8_t>(file[at + kPageHeaderBytes + i]);
            if (body + lacing > file.size())
                return "";
            if (packetIndex == 1)
                packet.append(file, body, lacing);
            body += lacing;
            if (lacing < 255 && ++packetIndex == 2)
                return packet;
        }
        at = body;
    }
    return "";
}

// The decoder takes the comment header's 32-bit lengths as signed sizes and
// allocates them before it checks them against the packet: every length must
// fit in what follows it. A file that is no Ogg stream is left to the decoder
// to refuse.
bool CommentLengthsFit(const std::string& path)
{
    std::ifstream stream(path, std::ios::binary);
    std::string file(kMaxHeaderBytes, '\0');
    stream.read(file.data(), static_cast<std::streamsize>(file.size()));
    file.resize(static_cast<size_t>(stream.gcount()));
    if (file.compare(0, 4, "OggS") != 0)
        return true;
    const std::string packet = CommentPacket(file);
    if (packet.compare(0, kCommentPacketStartBytes, kCommentPacketStart, kCommentPacketStartBytes) != 0)
        return false;
    size_t at = kCommentPacketStartBytes;
    auto takeLength = [&](uint32_t& length) {
        if (packet.size() - at < 4)
            return false;
        length = ReadLittle32(packet, at);
        at += 4;
        return length <= packet.size() - at;
    };
    uint32_t vendor = 0, count = 0;
    if (!takeLength(vendor))
        return false;
    at += vendor;
    if (!takeLength(count) || count > (packet.size() - at) / 4)
        return false;
    for (uint32_t i = 0; i < count; ++i) {
        uint32_t length = 0;
        if (!takeLength(length))
            return false;
        at += length;
    }
    return true;
}

}  // namespace

QelOggStream::~QelOggStream()
{
    Close();
}

bool QelOggStream::Open(const std::string& path, std::string& error)
{
    Close();
    if (!CommentLengthsFit(path)) {
        error = "is not an Ogg Vorbis stream (its comment header names more bytes than it holds)";
        return false;
    }
    int code = 0;
    arena_.resize(kDecoderMemoryBytes);
    const stb_vorbis_alloc arena{arena_.data(), static_cast<int>(arena_.size())};
    decoder_ = stb_vorbis_open_filename(path.c_str(), &code, &arena);
    if (decoder_ == nullptr) {
        error = code == VORBIS_file_open_failure
                    ? "cannot be read"
                    : "is not an Ogg Vorbis stream (decoder error " + std::to_string(code) + ")";
        return false;
    }
    const stb_vorbis_info info = stb_vorbis_get_info(decoder_);
    channels_ = info.channels;
    sampleRate_ = static_cast<int32_t>(info.sample_rate);
    if (channels_ < 1 || sampleRate_ < 1) {
        error = "has no channels or no sample rate";
        Close();
        return false;
    }
    return true;
}

void QelOggStream::Close()
{
    if (decoder_ != nullptr)
        stb_vorbis_close(decoder_);
    decoder_ = nullptr;
    channels_ = 0;
    sampleRate_ = 0;
    arena_.clear();
    arena_.shrink_to_fit();
}

int32_t QelOggStream::Decode(int16_t* out, int32_t maxFrames)
{
    if (decoder_ == nullptr || maxFrames <= 0)
        return 0;
    return stb_vorbis_get_samples_short_interleaved(decoder_, channels_, out, maxFrames * channels_);
}

bool QelOggStream::SeekStart()
{
    return decoder_ != nullptr && stb_vorbis_seek_start(decoder_) != 0;
}
