#include "engine/base/QelOggStream.h"

#define STB_VORBIS_HEADER_ONLY
#include <stb/stb_vorbis.h>

QelOggStream::~QelOggStream()
{
    Close();
}

bool QelOggStream::Open(const std::string& path, std::string& error)
{
    Close();
    int code = 0;
    decoder_ = stb_vorbis_open_filename(path.c_str(), &code, nullptr);
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
