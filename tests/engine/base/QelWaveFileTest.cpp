#include "engine/base/QelWaveFile.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

#include "tests/engine/base/WaveBytes.h"
#include "tests/support/TempFolder.h"

namespace {

using qeltest::WaveBytes;

std::optional<QelWaveData> Read(const std::vector<uint8_t>& bytes, std::string& error)
{
    return ReadWAVFile(std::span<const uint8_t>(bytes), error);
}

std::vector<int16_t> Ramp(size_t count)
{
    std::vector<int16_t> samples(count);
    for (size_t i = 0; i < count; ++i)
        samples[i] = static_cast<int16_t>(i * 7 - 3000);
    return samples;
}

TEST(QelWaveFileTest, sixteen_bit_stereo_reads_frames_and_format_as_given)
{
    const std::vector<int16_t> samples = Ramp(2000);
    std::string error;
    const auto wave = Read(WaveBytes().Format(1, 2, 22050, 16).Samples16(samples).Bytes(), error);
    ASSERT_TRUE(wave) << error;
    EXPECT_EQ(wave->Channels(), 2);
    EXPECT_EQ(wave->Frames(), 1000);
    EXPECT_EQ(wave->format.sampleRate, 22050u);
    EXPECT_EQ(wave->format.blockAlign, 4);
    EXPECT_EQ(wave->format.extraSize, 0);
    EXPECT_EQ(wave->samples, samples);
    EXPECT_FALSE(wave->truncated);
}

TEST(QelWaveFileTest, chunks_are_found_behind_others_and_odd_sizes_keep_their_pad_byte)
{
    std::string error;
    const auto wave = Read(WaveBytes()
                               .Chunk("LIST", "odd")
                               .Format(1, 1, 8000, 16)
                               .Chunk("fact", "x")
                               .Samples16({100, -100, 7})
                               .Bytes(),
                           error);
    ASSERT_TRUE(wave) << error;
    EXPECT_EQ(wave->samples, (std::vector<int16_t>{100, -100, 7}));
}

TEST(QelWaveFileTest, a_data_chunk_longer_than_the_file_keeps_the_whole_frames_that_are_there)
{
    std::string data;  // two and a half stereo frames
    for (int16_t sample : {1, 2, 3, 4, 5})
        WaveBytes::Put16(data, static_cast<uint16_t>(sample));
    std::string error;
    const auto wave = Read(WaveBytes().Format(1, 2, 8000, 16).Chunk("data", data, 4000).Bytes(), error);
    ASSERT_TRUE(wave) << error;
    EXPECT_TRUE(wave->truncated);
    EXPECT_EQ(wave->Frames(), 2);
    EXPECT_EQ(wave->samples, (std::vector<int16_t>{1, 2, 3, 4}));
}

TEST(QelWaveFileTest, other_sample_sizes_become_sixteen_bit)
{
    struct Case {
        const char* name;
        uint16_t tag;
        uint16_t bits;
        std::string bytes;  // two samples
        std::vector<int16_t> expected;
    };
    auto float32 = [](float a, float b) {
        std::string out(8, '\0');
        std::memcpy(out.data(), &a, 4);
        std::memcpy(out.data() + 4, &b, 4);
        return out;
    };
    auto float64 = [](double a, double b) {
        std::string out(16, '\0');
        std::memcpy(out.data(), &a, 8);
        std::memcpy(out.data() + 8, &b, 8);
        return out;
    };
    const Case cases[] = {
        {"unsigned 8-bit around 128", 1, 8, std::string("\x00\xFF", 2), {-32768, 127 * 256}},
        {"24-bit keeps its top bytes", 1, 24, std::string("\x11\x34\x12\x00\x00\x80", 6), {0x1234, -32768}},
        {"32-bit keeps its top bytes", 1, 32, std::string("\xFF\xFF\x34\x12\x00\x00\xFF\xFF", 8), {0x1234, -1}},
        {"float scaled and clipped", 3, 32, float32(0.5f, -3.0f), {16383, -32767}},
        {"float that is not a number is silence", 3, 32, float32(NAN, 1.0f), {0, 32767}},
        {"double scaled", 3, 64, float64(-0.5, 0.25), {-16383, 8191}},
    };
    for (const Case& c : cases) {
        std::string error;
        const auto wave = Read(WaveBytes().Format(c.tag, 1, 8000, c.bits).Chunk("data", c.bytes).Bytes(), error);
        ASSERT_TRUE(wave) << c.name << ": " << error;
        EXPECT_EQ(wave->samples, c.expected) << c.name;
    }
}

TEST(QelWaveFileTest, extensible_format_plays_by_its_sub_format)
{
    auto extensible = [](uint16_t subFormat) {
        std::string record = WaveBytes::FormatRecord(0xFFFE, 1, 8000, 16);
        WaveBytes::Put16(record, 22);      // extra size
        WaveBytes::Put16(record, 16);      // valid bits
        WaveBytes::Put32(record, 4);       // channel mask
        WaveBytes::Put16(record, subFormat);
        record += std::string(14, '\x01');  // rest of the sub-format identifier
        return record;
    };
    std::string error;
    const auto pcm = Read(WaveBytes().Chunk("fmt ", extensible(1)).Samples16({42}).Bytes(), error);
    ASSERT_TRUE(pcm) << error;
    EXPECT_EQ(pcm->samples, (std::vector<int16_t>{42}));
    EXPECT_EQ(pcm->format.extraSize, 22);
    EXPECT_FALSE(Read(WaveBytes().Chunk("fmt ", extensible(2)).Samples16({42}).Bytes(), error));
    EXPECT_NE(error.find("encoding 2"), std::string::npos) << error;
}

TEST(QelWaveFileTest, files_the_game_cannot_play_are_refused_with_the_reason)
{
    const std::vector<int16_t> some = {1, 2, 3, 4};
    const struct {
        const char* name;
        std::vector<uint8_t> bytes;
        const char* reason;
    } cases[] = {
        {"empty file", {}, "not a RIFF/WAVE file"},
        {"wrong magic", WaveBytes().Format(1, 1, 8000, 16).Bytes(), nullptr},
        {"riff size of 16", WaveBytes().Format(1, 1, 8000, 16).Samples16(some).Bytes(16), "RIFF size 16"},
        {"no format", WaveBytes().Samples16(some).Bytes(), "no \"fmt \" chunk"},
        {"no data", WaveBytes().Format(1, 1, 8000, 16).Bytes(), "no \"data\" chunk"},
        {"data beyond the riff size", WaveBytes().Format(1, 1, 8000, 16).Samples16(some).Bytes(4 + 8 + 16),
         "no \"data\" chunk"},
        {"format cut short", WaveBytes().Chunk("fmt ", std::string(10, '\x01')).Samples16(some).Bytes(),
         "too short for a format"},
        {"format claims more than the file", WaveBytes().Chunk("fmt ", std::string(16, '\x01'), 400).Bytes(),
         "too short for a format"},
        {"a chunk size that runs past the end hides the rest",
         WaveBytes().Chunk("junk", "ab", 0xFFFFFFF0u).Format(1, 1, 8000, 16).Samples16(some).Bytes(),
         "no \"fmt \" chunk"},
        {"compressed", WaveBytes().Format(2, 1, 8000, 4).Samples16(some).Bytes(), "4-bit of encoding 2"},
        {"12-bit integer", WaveBytes().Format(1, 1, 8000, 12, 2).Samples16(some).Bytes(), "12-bit"},
        {"no channels", WaveBytes().Format(1, 0, 8000, 16, 2).Samples16(some).Bytes(), "0 channels"},
        {"too many channels", WaveBytes().Format(1, 9, 8000, 16).Samples16(some).Bytes(), "9 channels"},
        {"rate of 0", WaveBytes().Format(1, 1, 0, 16).Samples16(some).Bytes(), "rate of 0"},
        {"frames of the wrong size", WaveBytes().Format(1, 2, 8000, 16, 3).Samples16(some).Bytes(),
         "frames are 3 bytes"},
    };
    for (const auto& c : cases) {
        std::vector<uint8_t> bytes = c.bytes;
        if (c.reason == nullptr)
            std::memcpy(bytes.data(), "RIFX", 4);
        std::string error;
        EXPECT_FALSE(Read(bytes, error)) << c.name;
        EXPECT_NE(error.find(c.reason ? c.reason : "not a RIFF/WAVE file"), std::string::npos)
            << c.name << ": " << error;
    }
}

TEST(QelWaveFileTest, every_truncation_of_a_good_file_is_read_or_refused_without_reading_past_it)
{
    const std::vector<uint8_t> whole =
        WaveBytes().Chunk("LIST", "abc").Format(1, 2, 8000, 16).Samples16(Ramp(40)).Bytes();
    for (size_t size = 0; size < whole.size(); ++size) {
        // A copy of exactly that size, so the sanitizers see any read beyond it.
        const std::vector<uint8_t> cut(whole.begin(), whole.begin() + static_cast<std::ptrdiff_t>(size));
        std::string error;
        const auto wave = Read(cut, error);
        if (wave)
            EXPECT_LE(wave->samples.size() * 2, size) << size;
        else
            EXPECT_FALSE(error.empty()) << size;
    }
}

TEST(QelWaveFileTest, reading_from_a_path_names_a_file_that_is_missing)
{
    qeltest::TempFolder folder;
    folder.Write("tone.wav", qeltest::Wave16(1, 8000, {5, 6}));
    std::string error;
    const auto wave = ReadWAVFile(folder / "tone.wav", error);
    ASSERT_TRUE(wave) << error;
    EXPECT_EQ(wave->samples, (std::vector<int16_t>{5, 6}));
    EXPECT_FALSE(ReadWAVFile(folder / "absent.wav", error));
    EXPECT_NE(error.find("cannot be read"), std::string::npos) << error;
}

}  // namespace
