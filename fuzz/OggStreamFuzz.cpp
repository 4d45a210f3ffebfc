// Streamed music files: any bytes open as an Ogg Vorbis stream that decodes
// frame by frame to its end and from its start again, or are refused with a
// reason.

#include "engine/base/QelOggStream.h"
#include "fuzz/support/FuzzProcess.h"

#include <vector>

namespace {

// Decoded a block at a time as the music service does; a stream that claims
// to go on far longer than any seed is cut off here.
constexpr int32_t kBlockFrames = 1024;
constexpr int32_t kMaxBlocks = 256;

void DecodeToEnd(QelOggStream& stream)
{
    std::vector<int16_t> block(static_cast<size_t>(kBlockFrames) * stream.Channels());
    for (int32_t i = 0; i < kMaxBlocks; ++i) {
        const int32_t frames = stream.Decode(block.data(), kBlockFrames);
        QEL_FUZZ_CHECK(frames >= 0 && frames <= kBlockFrames, "a decode gave more frames than asked for");
        if (frames == 0)
            return;
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    PrepareFuzzProcess();
    const std::filesystem::path file = FuzzScratchFolder() / "music.ogg";
    WriteFuzzFile(file, data, size);
    QelOggStream stream;
    std::string error;
    if (!stream.Open(file.string(), error)) {
        QEL_FUZZ_CHECK(!error.empty() && !stream.IsOpen(), "a refused stream gave no reason or stayed open");
        return 0;
    }
    QEL_FUZZ_CHECK(stream.Channels() > 0 && stream.SampleRate() > 0, "an open stream has no channels or rate");
    DecodeToEnd(stream);
    if (stream.SeekStart())
        DecodeToEnd(stream);
    return 0;
}
