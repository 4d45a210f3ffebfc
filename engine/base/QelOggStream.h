#pragma once
// An Ogg Vorbis file decoded a piece at a time (stb_vorbis), for music that
// is too long to hold decoded in memory.

#include <cstdint>
#include <string>

struct stb_vorbis;

class QelOggStream {
public:
    QelOggStream() = default;
    ~QelOggStream();
    QelOggStream(const QelOggStream&) = delete;
    QelOggStream& operator=(const QelOggStream&) = delete;

    // Opens the file (an operating-system path); false, with the reason in
    // error, when it is not an Ogg Vorbis stream that decodes.
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
    int32_t channels_ = 0;
    int32_t sampleRate_ = 0;
};
