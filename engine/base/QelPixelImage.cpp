#include "engine/base/QelPixelImage.h"

#include <png.h>
#include <stb/stb_image.h>
#include <stb/stb_image_resize.h>
#include <unistd.h>

#include <algorithm>
#include <climits>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>

#include "engine/base/QelPngRows.h"

namespace {

constexpr int kBytesPerPixel = 4;
constexpr size_t kRawHeaderBytes = 8;

uint8_t ToByte(float value)
{
    return static_cast<uint8_t>(std::clamp(value, 0.0f, 1.0f) * 255.0f);
}

int32_t ReadLittleInt32(const uint8_t* bytes)
{
    return static_cast<int32_t>(static_cast<uint32_t>(bytes[0]) | static_cast<uint32_t>(bytes[1]) << 8 |
                                static_cast<uint32_t>(bytes[2]) << 16 | static_cast<uint32_t>(bytes[3]) << 24);
}

// A PNG chunk's length is trusted by the decoder, which makes room for it
// before it reads: a 91-byte file naming a chunk of a gigabyte costs two. No
// chunk may claim more than the bytes after its header.
bool PngChunksFit(const std::vector<uint8_t>& bytes)
{
    static const uint8_t kSignature[] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    constexpr size_t kChunkHeader = 8;  // length and type
    constexpr size_t kChunkTrailer = 4;  // check sum
    if (bytes.size() < sizeof kSignature || !std::equal(std::begin(kSignature), std::end(kSignature), bytes.begin()))
        return true;
    size_t at = sizeof kSignature;
    while (bytes.size() - at >= kChunkHeader) {
        const size_t length = static_cast<size_t>(bytes[at]) << 24 | static_cast<size_t>(bytes[at + 1]) << 16 |
                              static_cast<size_t>(bytes[at + 2]) << 8 | bytes[at + 3];
        if (length > bytes.size() - at - kChunkHeader)
            return false;
        at += kChunkHeader + length + std::min(kChunkTrailer, bytes.size() - at - kChunkHeader - length);
    }
    return true;
}

struct FileCloser {
    void operator()(FILE* file) const { std::fclose(file); }
};

}  // namespace

void QelPixelImage::Resize(int width, int height)
{
    width_ = std::max(width, 0);
    height_ = std::max(height, 0);
    pixels_.assign(static_cast<size_t>(width_) * height_ * kBytesPerPixel, 0);
}

void QelPixelImage::SetPixel(int x, int y, float alpha, float red, float green, float blue)
{
    if (!Contains(x, y))
        return;
    uint8_t* pixel = &pixels_[(static_cast<size_t>(y) * width_ + x) * kBytesPerPixel];
    pixel[0] = ToByte(red);
    pixel[1] = ToByte(green);
    pixel[2] = ToByte(blue);
    pixel[3] = ToByte(alpha);
}

void QelPixelImage::GetPixel(int x, int y, float& alpha, float& red, float& green, float& blue) const
{
    if (!Contains(x, y))
        return;
    const uint8_t* pixel = &pixels_[(static_cast<size_t>(y) * width_ + x) * kBytesPerPixel];
    red = pixel[0] / 255.0f;
    green = pixel[1] / 255.0f;
    blue = pixel[2] / 255.0f;
    alpha = pixel[3] / 255.0f;
}

bool QelPixelImage::LoadImageFile(const std::string& path, std::string& error)
{
    std::ifstream file(path, std::ios::binary);
    const std::vector<uint8_t> bytes{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
    if (!file.is_open() || bytes.empty()) {
        error = path + ": cannot be opened, or is empty";
        return false;
    }
    if (!PngChunksFit(bytes)) {
        error = path + ": a chunk claims more bytes than the file holds";
        return false;
    }
    const int size = static_cast<int>(std::min<size_t>(bytes.size(), INT_MAX));
    int width = 0, height = 0, channels = 0;
    if (stbi_info_from_memory(bytes.data(), size, &width, &height, &channels) &&
        static_cast<double>(width) * height > kMaxPixelsPerFileByte * static_cast<double>(bytes.size())) {
        error = path + ": claims " + std::to_string(width) + " x " + std::to_string(height) + " pixels, more than " +
                std::to_string(bytes.size()) + " bytes can hold";
        return false;
    }
    if (DecodePngRows(path))
        return true;
    std::unique_ptr<stbi_uc, void (*)(void*)> decoded(
        stbi_load_from_memory(bytes.data(), size, &width, &height, &channels, kBytesPerPixel), stbi_image_free);
    if (!decoded) {
        error = path + ": " + (stbi_failure_reason() ? stbi_failure_reason() : "cannot be decoded");
        return false;
    }
    if (width <= 0 || height <= 0) {
        error = path + ": holds no pixels";
        return false;
    }
    Resize(width, height);
    std::memcpy(pixels_.data(), decoded.get(), pixels_.size());
    return true;
}

// A PNG that is not interlaced goes through libpng straight into the pixels:
// its inflate is faster than stb_image's, and no second copy of the image is
// made. Anything else, or a PNG libpng finds fault with, is left to
// stb_image, which then gives its reason.
bool QelPixelImage::DecodePngRows(const std::string& path)
{
    QelPngRows png;
    std::string error;
    if (!png.Open(path, error))
        return false;
    Bytes decoded(static_cast<size_t>(png.Width()) * png.Height() * kBytesPerPixel);
    if (png.ReadRows(png.Height(), decoded.data(), error) != png.Height())
        return false;
    width_ = png.Width();
    height_ = png.Height();
    pixels_ = std::move(decoded);
    return true;
}

bool QelPixelImage::LoadRawFile(const std::string& path, std::string& error)
{
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        error = path + ": cannot be opened";
        return false;
    }
    uint8_t header[kRawHeaderBytes];
    if (!file.read(reinterpret_cast<char*>(header), kRawHeaderBytes)) {
        error = path + ": shorter than its 8-byte size header";
        return false;
    }
    const int32_t width = ReadLittleInt32(header);
    const int32_t height = ReadLittleInt32(header + 4);
    if (width <= 0 || height <= 0 || width > kMaxSide || height > kMaxSide) {
        error = path + ": size " + std::to_string(width) + " x " + std::to_string(height) + " is out of range";
        return false;
    }
    // The pixels a header claims are not allocated before the file is known
    // to hold them: a few bytes must not cost a gigabyte.
    const size_t pixelBytes = static_cast<size_t>(width) * height * kBytesPerPixel;
    std::error_code sizeError;
    const uintmax_t fileBytes = std::filesystem::file_size(path, sizeError);
    if (sizeError || fileBytes < kRawHeaderBytes + pixelBytes) {
        error = path + ": shorter than its " + std::to_string(width) + " x " + std::to_string(height) + " pixels";
        return false;
    }
    Bytes pixels(pixelBytes);
    if (!file.read(reinterpret_cast<char*>(pixels.data()), static_cast<std::streamsize>(pixels.size()))) {
        error = path + ": shorter than its " + std::to_string(width) + " x " + std::to_string(height) + " pixels";
        return false;
    }
    width_ = width;
    height_ = height;
    pixels_ = std::move(pixels);
    return true;
}

// The shorter side follows the longer one's scale, truncated.
void QelPixelImage::FitWithin(int limit, int& width, int& height)
{
    if (width <= limit && height <= limit)
        return;
    if (height < width) {
        height = static_cast<int>(static_cast<float>(limit) * static_cast<float>(height) / static_cast<float>(width));
        width = limit;
    } else {
        width = static_cast<int>(static_cast<float>(limit) / (static_cast<float>(height) / static_cast<float>(width)));
        height = limit;
    }
}

void QelPixelImage::ScaleTo(int width, int height)
{
    if (width == width_ && height == height_)
        return;
    Bytes scaled(static_cast<size_t>(width) * height * kBytesPerPixel);
    stbir_resize_uint8(pixels_.data(), width_, height_, 0, scaled.data(), width, height, 0, kBytesPerPixel);
    width_ = width;
    height_ = height;
    pixels_ = std::move(scaled);
}

int QelPixelImage::LastMipLevel() const
{
    int level = 0;
    for (int side = std::max(width_, height_); side > 1; side /= 2)
        ++level;
    return level;
}

QelPixelImage QelPixelImage::MipLevelBelow() const
{
    QelPixelImage below;
    below.Resize(std::max(width_ / 2, 1), std::max(height_ / 2, 1));
    // Where a side is 1 already, both samples along it are the same pixel.
    const int stepX = width_ > 1 ? 1 : 0;
    const int stepY = height_ > 1 ? 1 : 0;
    const size_t stride = static_cast<size_t>(width_) * kBytesPerPixel;
    uint8_t* out = below.pixels_.data();
    for (int y = 0; y < below.height_; ++y) {
        const uint8_t* top = pixels_.data() + static_cast<size_t>(2 * y) * stride;
        const uint8_t* bottom = top + stepY * stride;
        for (int x = 0; x < below.width_; ++x) {
            const size_t left = static_cast<size_t>(2 * x) * kBytesPerPixel;
            const size_t right = left + static_cast<size_t>(stepX) * kBytesPerPixel;
            for (int c = 0; c < kBytesPerPixel; ++c) {
                const int sum = top[left + c] + top[right + c] + bottom[left + c] + bottom[right + c];
                *out++ = static_cast<uint8_t>((sum + 2) / 4);
            }
        }
    }
    return below;
}

QelPixelImage::Box QelPixelImage::InkBox() const
{
    Box box{width_, height_, 0, 0};
    const uint8_t* alpha = pixels_.data() + 3;
    for (int y = 0; y < height_; ++y) {
        for (int x = 0; x < width_; ++x, alpha += kBytesPerPixel) {
            if (*alpha == 0)
                continue;
            box.left = std::min(box.left, x);
            box.right = std::max(box.right, x + 1);
            box.top = std::min(box.top, y);
            box.bottom = y + 1;
        }
    }
    return box.Empty() ? Box{} : box;
}

// Written beside the file and renamed over it, so a reader never meets half
// an image and a failed write keeps the old one.
bool QelPixelImage::SavePNG(const std::string& path) const
{
    const std::string temporary = path + ".tmp." + std::to_string(getpid());
    if (WritePNGFile(temporary) && std::rename(temporary.c_str(), path.c_str()) == 0)
        return true;
    std::remove(temporary.c_str());
    return false;
}

bool QelPixelImage::WritePNGFile(const std::string& path) const
{
    std::unique_ptr<FILE, FileCloser> file(std::fopen(path.c_str(), "wb"));
    if (!file || width_ == 0 || height_ == 0)
        return false;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    if (!info) {
        png_destroy_write_struct(&png, nullptr);
        return false;
    }
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        return false;
    }
    png_init_io(png, file.get());
    png_set_IHDR(png, info, width_, height_, 8, PNG_COLOR_TYPE_RGBA, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    for (int y = 0; y < height_; ++y)
        png_write_row(png, &pixels_[static_cast<size_t>(y) * width_ * kBytesPerPixel]);
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    const bool flushed = std::fflush(file.get()) == 0;
    return std::fclose(file.release()) == 0 && flushed;
}
