#include "engine/base/QelOggStream.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <vector>

#include "tests/support/TempFolder.h"

namespace {

const std::string kFixtures = std::string(QEL_TEST_FIXTURES) + "/audio/";

// Decodes the rest of the stream in pieces of the given size.
std::vector<int16_t> DecodeAll(QelOggStream& stream, int32_t piece)
{
    std::vector<int16_t> all;
    std::vector<int16_t> buffer(static_cast<size_t>(piece) * stream.Channels());
    while (int32_t frames = stream.Decode(buffer.data(), piece))
        all.insert(all.end(), buffer.begin(), buffer.begin() + frames * stream.Channels());
    return all;
}

int16_t Peak(const std::vector<int16_t>& samples, size_t first, size_t stride)
{
    int16_t peak = 0;
    for (size_t i = first; i < samples.size(); i += stride)
        peak = std::max<int16_t>(peak, static_cast<int16_t>(std::abs(samples[i])));
    return peak;
}

TEST(QelOggStreamTest, decodes_every_frame_at_the_files_own_rate_and_starts_again_after_a_seek)
{
    const struct {
        const char* file;
        int32_t channels;
        int32_t rate;
    } cases[] = {{"tone_22050_mono.ogg", 1, 22050}, {"tone_44100_stereo.ogg", 2, 44100}};
    for (const auto& c : cases) {
        QelOggStream stream;
        std::string error;
        ASSERT_TRUE(stream.Open(kFixtures + c.file, error)) << c.file << ": " << error;
        EXPECT_EQ(stream.Channels(), c.channels);
        EXPECT_EQ(stream.SampleRate(), c.rate);
        const std::vector<int16_t> first = DecodeAll(stream, 1000);
        EXPECT_EQ(first.size(), 11025u * c.channels) << c.file;
        // Half-scale sine on the first channel; the second of the stereo file is silent.
        EXPECT_NEAR(Peak(first, 0, c.channels), 16384, 1200) << c.file;
        if (c.channels == 2) {
            EXPECT_LT(Peak(first, 1, 2), 400) << c.file;
        }
        ASSERT_TRUE(stream.SeekStart());
        EXPECT_EQ(DecodeAll(stream, 4096), first) << c.file;
    }
}

TEST(QelOggStreamTest, a_missing_or_foreign_file_is_refused_and_decodes_nothing)
{
    qeltest::TempFolder folder;
    folder.Write("noise.ogg", "OggS but not really a stream of vorbis packets");
    QelOggStream stream;
    std::string error;
    EXPECT_FALSE(stream.Open(folder / "absent.ogg", error));
    EXPECT_EQ(error, "cannot be read");
    EXPECT_FALSE(stream.Open(folder / "noise.ogg", error));
    EXPECT_NE(error.find("not an Ogg Vorbis stream"), std::string::npos) << error;
    EXPECT_FALSE(stream.IsOpen());
    int16_t out[8] = {};
    EXPECT_EQ(stream.Decode(out, 4), 0);
    EXPECT_FALSE(stream.SeekStart());
}

// Found by fuzzing: a comment header naming a vendor text of four gigabytes
// had the decoder ask the system for it, and then read that many bytes.
TEST(QelOggStreamTest, a_header_that_names_gigabytes_is_refused_without_asking_for_them)
{
    std::ifstream fixture(kFixtures + "tone_22050_mono.ogg", std::ios::binary);
    std::string bytes{std::istreambuf_iterator<char>(fixture), std::istreambuf_iterator<char>()};
    const size_t comment = bytes.find("\x03vorbis");
    ASSERT_NE(comment, std::string::npos);
    bytes.replace(comment + 7, 4, "\xf0\xff\xff\xff");  // the vendor text's length
    qeltest::TempFolder folder;
    folder.Write("vendor.ogg", bytes);
    QelOggStream stream;
    std::string error;
    EXPECT_FALSE(stream.Open(folder / "vendor.ogg", error));
    EXPECT_NE(error.find("not an Ogg Vorbis stream"), std::string::npos) << error;
    EXPECT_FALSE(stream.IsOpen());
}

}  // namespace
