#include "engine/base/QelPixelImage.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "tests/support/TempFolder.h"

namespace {

// The signature and header chunk of a PNG of that size, and nothing more.
std::string PngHeader(uint32_t width, uint32_t height)
{
    std::string png = "\x89PNG\r\n\x1a\n";
    png += std::string("\0\0\0\x0dIHDR", 8);
    for (uint32_t side : {width, height})
        for (int shift = 24; shift >= 0; shift -= 8)
            png += static_cast<char>((side >> shift) & 0xFF);
    png += std::string("\x08\x06\0\0\0", 5);
    png += std::string(4, '\0');  // the check sum, which the decoder does not read
    return png;
}

std::string RawHeader(int32_t width, int32_t height)
{
    std::string bytes(8, '\0');
    for (int i = 0; i < 4; ++i) {
        bytes[i] = static_cast<char>((width >> (8 * i)) & 0xFF);
        bytes[4 + i] = static_cast<char>((height >> (8 * i)) & 0xFF);
    }
    return bytes;
}

TEST(QelPixelImageTest, set_pixel_stores_rgba_bytes_and_ignores_coordinates_outside)
{
    QelPixelImage image;
    image.Resize(4, 2);
    image.SetPixel(1, 1, 1.0f, 1.0f, 0.0f, 0.0f);
    const uint8_t* p = image.Data() + (1 * 4 + 1) * 4;
    EXPECT_EQ(p[0], 255);
    EXPECT_EQ(p[1], 0);
    EXPECT_EQ(p[3], 255);
    float a = -1, r = -1, g = -1, b = -1;
    image.GetPixel(1, 1, a, r, g, b);
    EXPECT_EQ(a, 1.0f);
    EXPECT_EQ(r, 1.0f);
    EXPECT_EQ(g, 0.0f);
    image.SetPixel(4, 0, 1, 1, 1, 1);
    image.GetPixel(0, 2, a, r, g, b);
    EXPECT_EQ(a, 1.0f);  // untouched
}

// Only alpha counts as ink: a clear pixel with colour in it marks nothing
// where a draw is blended by alpha.
TEST(QelPixelImageTest, the_ink_box_holds_every_pixel_with_alpha_and_nothing_else)
{
    struct Case {
        const char* name;
        std::vector<std::array<int, 2>> inked;
        QelPixelImage::Box box;
    };
    const Case cases[] = {
        {"clear image", {}, {0, 0, 0, 0}},
        {"one pixel", {{{2, 1}}}, {2, 1, 3, 2}},
        {"corners", {{{0, 0}}, {{5, 3}}}, {0, 0, 6, 4}},
        {"a column", {{{4, 0}}, {{4, 2}}}, {4, 0, 5, 3}},
    };
    for (const Case& c : cases) {
        QelPixelImage image;
        image.Resize(6, 4);
        image.SetPixel(1, 3, 0.0f, 1.0f, 1.0f, 1.0f);  // white but clear
        for (const auto& [x, y] : c.inked)
            image.SetPixel(x, y, 0.01f, 0.0f, 0.0f, 0.0f);
        const QelPixelImage::Box box = image.InkBox();
        EXPECT_EQ(box.Empty(), c.inked.empty()) << c.name;
        EXPECT_EQ((std::array{box.left, box.top, box.right, box.bottom}),
                  (std::array{c.box.left, c.box.top, c.box.right, c.box.bottom}))
            << c.name;
    }
}

TEST(QelPixelImageTest, png_written_reads_back_the_same_pixels)
{
    qeltest::TempFolder folder;
    QelPixelImage image;
    image.Resize(3, 2);
    image.SetPixel(0, 0, 1, 1, 0, 0);
    image.SetPixel(2, 1, 0.5f, 0, 0, 1);
    ASSERT_TRUE(image.SavePNG(folder / "out.png"));
    QelPixelImage back;
    std::string error;
    ASSERT_TRUE(back.LoadImageFile(folder / "out.png", error)) << error;
    ASSERT_EQ(back.Width(), 3);
    ASSERT_EQ(back.Height(), 2);
    EXPECT_EQ(std::basic_string<uint8_t>(back.Data(), back.ByteCount()),
              std::basic_string<uint8_t>(image.Data(), image.ByteCount()));
}

TEST(QelPixelImageTest, png_to_a_path_that_cannot_be_opened_returns_false)
{
    QelPixelImage image;
    image.Resize(1, 1);
    EXPECT_FALSE(image.SavePNG("/nonexistent-folder/x.png"));
}

TEST(QelPixelImageTest, damaged_files_fail_with_a_reason_and_leave_the_image_alone)
{
    qeltest::TempFolder folder;
    folder.Write("junk.png", "not an image at all");
    folder.Write("short.rawbitmap", RawHeader(2, 2) + std::string(15, 'x'));
    folder.Write("huge.rawbitmap", RawHeader(100000, 2));
    folder.Write("negative.rawbitmap", RawHeader(-1, 2));
    folder.Write("header.rawbitmap", "abc");
    // Found by fuzzing: the largest size claimed by a file of a few bytes
    // had a gigabyte allocated for it before the short read was noticed.
    folder.Write("claims-most.rawbitmap", RawHeader(QelPixelImage::kMaxSide, QelPixelImage::kMaxSide) + "xy");
    folder.Write("too-large.png", PngHeader(QelPixelImage::kMaxSide + 1, 2));
    // Found by fuzzing: an uncompressed TGA header of 3855 x 3855 pixels in a
    // file of 20 bytes took seconds to "decode" into 57 MB of nothing.
    // Found by fuzzing: a chunk length of a gigabyte in a tiny PNG.
    folder.Write("giant-chunk.png", PngHeader(4, 4) + std::string("\x40\0\0\0IDAT\x78\x9c", 10));
    folder.Write("empty-giant.tga", std::string("\0\0\x02\0\0\0\0\0\0\0\0\0\x0f\x0f\x0f\x0f\x18\0xy", 20));
    QelPixelImage image;
    image.Resize(1, 1);
    std::string error;
    EXPECT_FALSE(image.LoadImageFile(folder / "junk.png", error));
    error.clear();
    EXPECT_FALSE(image.LoadImageFile(folder / "too-large.png", error));
    EXPECT_FALSE(error.empty());
    error.clear();
    EXPECT_FALSE(image.LoadImageFile(folder / "giant-chunk.png", error));
    EXPECT_NE(error.find("a chunk claims more bytes than the file holds"), std::string::npos) << error;
    error.clear();
    EXPECT_FALSE(image.LoadImageFile(folder / "empty-giant.tga", error));
    EXPECT_NE(error.find("more than 20 bytes can hold"), std::string::npos) << error;
    // A grey map whose decoder answers with an image of no pixels.
    folder.Write("no-pixels.pgm", std::string("P5\xff\xff\xff\xff+\x0d" "E", 9));
    error.clear();
    EXPECT_FALSE(image.LoadImageFile(folder / "no-pixels.pgm", error));
    EXPECT_NE(error.find("holds no pixels"), std::string::npos) << error;
    for (const char* name : {"short.rawbitmap", "huge.rawbitmap", "negative.rawbitmap", "header.rawbitmap",
                             "absent.rawbitmap", "claims-most.rawbitmap"}) {
        error.clear();
        EXPECT_FALSE(image.LoadRawFile(folder / name, error)) << name;
        EXPECT_FALSE(error.empty()) << name;
    }
    EXPECT_EQ(image.Width(), 1);
}

TEST(QelPixelImageTest, raw_file_of_exact_length_loads_rows_from_the_top)
{
    qeltest::TempFolder folder;
    std::string pixels(2 * 2 * 4, '\0');
    pixels[0] = '\xff';  // top-left red
    folder.Write("ok.rawbitmap", RawHeader(2, 2) + pixels);
    QelPixelImage image;
    std::string error;
    ASSERT_TRUE(image.LoadRawFile(folder / "ok.rawbitmap", error)) << error;
    float a, r, g, b;
    image.GetPixel(0, 0, a, r, g, b);
    EXPECT_EQ(r, 1.0f);
}

TEST(QelPixelImageTest, images_past_the_side_limit_shrink_to_it_keeping_their_proportions)
{
    struct Case {
        int width, height, fittedWidth, fittedHeight;
    };
    const Case cases[] = {{4000, 1000, 4000, 1000}, {4096, 4096, 4096, 4096}, {5000, 1000, 4096, 819},
                          {1000, 5000, 819, 4096}, {8192, 8192, 4096, 4096}};
    for (const Case& c : cases) {
        int width = c.width, height = c.height;
        QelPixelImage::FitWithin(4096, width, height);
        EXPECT_EQ(width, c.fittedWidth) << c.width << " x " << c.height;
        EXPECT_EQ(height, c.fittedHeight) << c.width << " x " << c.height;
    }

    QelPixelImage image;
    image.Resize(8, 4);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 8; ++x)
            image.SetPixel(x, y, 1, x < 4 ? 1.0f : 0.0f, 0, x < 4 ? 0.0f : 1.0f);
    image.ScaleTo(4, 2);
    float a, r, g, b;
    image.GetPixel(0, 0, a, r, g, b);
    EXPECT_GT(r, 0.9f);
    image.GetPixel(3, 1, a, r, g, b);
    EXPECT_GT(b, 0.9f);
    EXPECT_EQ(image.Width(), 4);
}

// Each level of a mip chain halves the sides (at least 1 pixel) and takes the
// rounded mean of the pixels above; an odd last column or row is left out.
TEST(QelPixelImageTest, a_mip_level_halves_the_sides_and_means_the_pixels_above)
{
    // The red byte of every pixel, rows from the top; the other bytes hold 0 (alpha 255).
    struct Case {
        const char* name;
        int width, height;
        std::vector<int> red;
        int belowWidth, belowHeight;
        std::vector<int> belowRed;
    };
    const Case cases[] = {
        {"two_by_two_blocks", 4, 2, {0, 255, 10, 20, 255, 0, 30, 41}, 2, 1, {128, 25}},
        {"odd_column_left_out", 3, 2, {100, 100, 255, 100, 100, 255}, 1, 1, {100}},
        {"one_row_means_pairs", 4, 1, {0, 1, 200, 100}, 2, 1, {1, 150}},
        {"one_column_means_pairs", 1, 3, {8, 16, 255}, 1, 1, {12}},
        {"one_pixel_stays", 1, 1, {77}, 1, 1, {77}},
    };
    for (const Case& c : cases) {
        QelPixelImage image;
        image.Resize(c.width, c.height);
        for (int i = 0; i < c.width * c.height; ++i) {
            image.Data()[i * 4] = static_cast<uint8_t>(c.red[i]);
            image.Data()[i * 4 + 3] = 255;
        }
        const QelPixelImage below = image.MipLevelBelow();
        ASSERT_EQ(below.Width(), c.belowWidth) << c.name;
        ASSERT_EQ(below.Height(), c.belowHeight) << c.name;
        for (int i = 0; i < c.belowWidth * c.belowHeight; ++i) {
            EXPECT_EQ(below.Data()[i * 4], c.belowRed[i]) << c.name << " pixel " << i;
            EXPECT_EQ(below.Data()[i * 4 + 1], 0) << c.name << " pixel " << i;
            EXPECT_EQ(below.Data()[i * 4 + 3], 255) << c.name << " pixel " << i;
        }
    }
}

// The last level counted is the one where the chain reaches 1 x 1.
TEST(QelPixelImageTest, the_last_mip_level_is_where_halving_reaches_one_pixel)
{
    for (const auto& [width, height] : {std::pair{1, 1}, {2, 1}, {1, 5}, {4, 4}, {1024, 360}, {1000, 3}, {5, 7}}) {
        QelPixelImage level;
        level.Resize(width, height);
        int halvings = 0;
        while (level.Width() > 1 || level.Height() > 1) {
            level = level.MipLevelBelow();
            ++halvings;
        }
        QelPixelImage image;
        image.Resize(width, height);
        EXPECT_EQ(image.LastMipLevel(), halvings) << width << " x " << height;
    }
}

}  // namespace
