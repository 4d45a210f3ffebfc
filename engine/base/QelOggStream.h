#pragma once
// An Ogg Vorbis file decoded a piece at a time (stb_vorbis), for music that
// is too long to hold decoded in memory.

#include <cstdint>
#include <cstddef>
#include <string>
#include <vector>

struct stb_vorbis;

class QelOggStream {
public:
    // Everything the decoder allocates comes from an arena of this size. A
    // real stream needs a fraction of it; a damaged or hostile header (a
    // codebook of millions of entries, a comment of gigabytes) then fails to
    // open instead of asking the system for whatever it names.
    static constexpr size_t kDecoderMemoryBytes = 4u * 1024u * 1024u;

    QelOggStream() = default;
    ~QelOggStream();
    QelOggStream(const QelOggStream&) = delete;
    QelOggStream& operator=(const QelOggStream&) = delete;

    // Opens the file (an operating-system path); false, with the reason in
    // error, when it is not an Ogg Vorbis stream that decodes, or its comment
    // header names lengths beyond its own bytes.
    bool Open(const std::string& path, std::string& error);
    void Close();
    bool IsOpen() const { return decoder_ != nullptr; }

    // Of the open stream.
    int32_t Channels() const { return channels_; }
    int32_t SampleRate() const { return sampleRate_; }

    // Decodes up to maxFrames frames, interleaved 16-bit, into out (room for
    // maxFrames × Channels() samples); returns the frames decoded, fewer only
    // at the end of the stream (0 there, and when nothing is open).
    int32_t Decode(int16_t* out, int32_t maxFrames);
    // Back to the first frame; false when the stream cannot seek.
    bool SeekStart();

private:
    stb_vorbis* decoder_ = nullptr;
    std::vector<char> arena_;  // the decoder's memory while a stream is open
    int32_t channels_ = 0;
    int32_t sampleRate_ = 0;
};
