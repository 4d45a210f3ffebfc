#include "engine/base/QelPngRows.h"

#include <png.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "engine/base/QelPixelImage.h"
#include "tests/support/TempFolder.h"

namespace {

// A PNG of the colour type given (gray, RGB or RGBA, 8 bits), whose pixel
// (x, y) has the components x, y, x + y and 200, as many as the type holds.
void WritePng(const std::string& path, int width, int height, int colourType, bool interlaced = false)
{
    FILE* file = std::fopen(path.c_str(), "wb");
    ASSERT_NE(file, nullptr);
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    png_init_io(png, file);
    png_set_IHDR(png, info, static_cast<png_uint_32>(width), static_cast<png_uint_32>(height), 8, colourType,
                 interlaced ? PNG_INTERLACE_ADAM7 : PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
                 PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    const int channels = png_get_channels(png, info);
    std::vector<std::vector<png_byte>> rows(static_cast<size_t>(height));
    std::vector<png_bytep> pointers;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const png_byte all[4] = {static_cast<png_byte>(x), static_cast<png_byte>(y),
                                     static_cast<png_byte>(x + y), 200};
            rows[static_cast<size_t>(y)].insert(rows[static_cast<size_t>(y)].end(), all, all + channels);
        }
        pointers.push_back(rows[static_cast<size_t>(y)].data());
    }
    png_write_image(png, pointers.data());
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    std::fclose(file);
}

TEST(QelPngRowsTest, rows_arrive_as_rgba_in_bands_whatever_the_file_holds)
{
    qeltest::TempFolder folder;
    struct Case {
        int colourType;
        uint8_t green, blue, alpha;  // of pixel (5, 9): y, x + y and 200 when the file holds them
    };
    const Case cases[] = {{PNG_COLOR_TYPE_RGB_ALPHA, 9, 14, 200}, {PNG_COLOR_TYPE_RGB, 9, 14, 255},
                          {PNG_COLOR_TYPE_GRAY, 5, 5, 255}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.colourType);
        const std::string path = folder / "rows.png";
        WritePng(path, 7, 10, c.colourType);
        QelPngRows rows;
        std::string error;
        ASSERT_TRUE(rows.Open(path, error)) << error;
        EXPECT_EQ(rows.Width(), 7);
        EXPECT_EQ(rows.Height(), 10);
        std::vector<uint8_t> pixels(7 * 10 * 4);
        int read = 0;
        for (int step = 0; step < 4; ++step)  // bands of 4, 4, 2, then nothing
            read += rows.ReadRows(4, pixels.data() + read * 7 * 4, error);
        EXPECT_EQ(read, 10);
        EXPECT_EQ(rows.RowsRead(), 10);
        const uint8_t* p = &pixels[(9 * 7 + 5) * 4];
        EXPECT_EQ(p[0], 5);
        EXPECT_EQ(p[1], c.green);
        EXPECT_EQ(p[2], c.blue);
        EXPECT_EQ(p[3], c.alpha);
    }
}

TEST(QelPngRowsTest, what_cannot_be_read_in_bands_is_refused_with_its_reason)
{
    qeltest::TempFolder folder;
    QelPngRows rows;
    std::string error;
    EXPECT_FALSE(rows.Open(folder / "missing.png", error));
    EXPECT_NE(error.find("cannot be opened"), std::string::npos);

    folder.Write("text.png", "not a picture at all");
    EXPECT_FALSE(rows.Open(folder / "text.png", error));
    EXPECT_NE(error.find("not a PNG"), std::string::npos);

    WritePng(folder / "interlaced.png", 8, 8, PNG_COLOR_TYPE_RGB, true);
    EXPECT_FALSE(rows.Open(folder / "interlaced.png", error));
    EXPECT_NE(error.find("interlaced"), std::string::npos);
}

TEST(QelPngRowsTest, a_file_cut_short_fails_in_the_band_that_reaches_the_cut)
{
    qeltest::TempFolder folder;
    const std::string path = folder / "cut.png";
    WritePng(path, 300, 300, PNG_COLOR_TYPE_RGB);
    std::filesystem::resize_file(path, std::filesystem::file_size(path) / 2);
    QelPngRows rows;
    std::string error;
    ASSERT_TRUE(rows.Open(path, error)) << error;
    std::vector<uint8_t> band(300 * 4 * 50);
    int result = 0;
    for (int step = 0; step < 6 && result >= 0; ++step)
        result = rows.ReadRows(50, band.data(), error);
    EXPECT_EQ(result, -1);
    EXPECT_NE(error.find("cut.png"), std::string::npos);
    EXPECT_EQ(rows.ReadRows(50, band.data(), error), -1) << "and stays failed";
}

// A whole image loads alike whichever decoder reads it: libpng for a PNG
// that is not interlaced, stb_image for an interlaced one. A damaged PNG
// fails with a reason and leaves the image as it was.
TEST(QelPngRowsTest, whole_images_load_alike_through_either_decoder)
{
    qeltest::TempFolder folder;
    struct Case {
        const char* name;
        int colourType;
        bool interlaced;
        uint8_t green, blue, alpha;  // of pixel (5, 9)
    };
    const Case cases[] = {{"rgba", PNG_COLOR_TYPE_RGB_ALPHA, false, 9, 14, 200},
                          {"rgb", PNG_COLOR_TYPE_RGB, false, 9, 14, 255},
                          {"gray", PNG_COLOR_TYPE_GRAY, false, 5, 5, 255},
                          {"interlaced_rgba", PNG_COLOR_TYPE_RGB_ALPHA, true, 9, 14, 200}};
    for (const Case& c : cases) {
        const std::string path = folder / (std::string(c.name) + ".png");
        WritePng(path, 7, 10, c.colourType, c.interlaced);
        QelPixelImage image;
        std::string error;
        ASSERT_TRUE(image.LoadImageFile(path, error)) << c.name << ": " << error;
        EXPECT_EQ(image.Width(), 7) << c.name;
        EXPECT_EQ(image.Height(), 10) << c.name;
        const uint8_t* p = image.Data() + (9 * 7 + 5) * 4;
        EXPECT_EQ(p[0], 5) << c.name;
        EXPECT_EQ(p[1], c.green) << c.name;
        EXPECT_EQ(p[2], c.blue) << c.name;
        EXPECT_EQ(p[3], c.alpha) << c.name;
    }

    const std::string cut = folder / "cut.png";
    WritePng(cut, 300, 300, PNG_COLOR_TYPE_RGB);
    std::filesystem::resize_file(cut, std::filesystem::file_size(cut) / 2);
    QelPixelImage image;
    image.Resize(1, 1);
    std::string error;
    EXPECT_FALSE(image.LoadImageFile(cut, error));
    EXPECT_NE(error.find("cut.png"), std::string::npos) << error;
    EXPECT_EQ(image.Width(), 1);
}

}  // namespace
