#include "engine/base/QelPngRows.h"

#include <png.h>

#include <algorithm>
#include <csetjmp>
#include <cstdio>
#include <filesystem>

#include "engine/base/QelPixelImage.h"

namespace {

constexpr int kBytesPerPixel = 4;
constexpr size_t kSignatureBytes = 8;

// libpng reports a damaged file through its error function: the text is kept
// and the decoder jumps back to the call that was reading.
void KeepError(png_structp png, png_const_charp message)
{
    auto* text = static_cast<std::string*>(png_get_error_ptr(png));
    if (text)
        *text = message ? message : "damaged";
    png_longjmp(png, 1);
}

void IgnoreWarning(png_structp, png_const_charp) {}

}  // namespace

struct QelPngRows::Decoder {
    FILE* file = nullptr;
    png_structp png = nullptr;
    png_infop info = nullptr;
    std::string error;

    ~Decoder()
    {
        if (png)
            png_destroy_read_struct(&png, info ? &info : nullptr, nullptr);
        if (file)
            std::fclose(file);
    }
};

QelPngRows::QelPngRows() = default;

QelPngRows::~QelPngRows() = default;

void QelPngRows::Close()
{
    decoder_.reset();
    width_ = height_ = rowsRead_ = 0;
}

bool QelPngRows::Open(const std::string& path, std::string& error)
{
    Close();
    path_ = path;
    auto decoder = std::make_unique<Decoder>();
    decoder->file = std::fopen(path.c_str(), "rb");
    png_byte signature[kSignatureBytes];
    if (!decoder->file || std::fread(signature, 1, kSignatureBytes, decoder->file) != kSignatureBytes ||
        png_sig_cmp(signature, 0, kSignatureBytes) != 0) {
        error = path + ": " + (decoder->file ? "not a PNG file" : "cannot be opened");
        return false;
    }
    Decoder& d = *decoder;
    d.png = png_create_read_struct(PNG_LIBPNG_VER_STRING, &d.error, KeepError, IgnoreWarning);
    d.info = d.png ? png_create_info_struct(d.png) : nullptr;
    if (!d.info) {
        error = path + ": no memory to decode it";
        return false;
    }
    if (setjmp(png_jmpbuf(d.png))) {
        error = path + ": " + d.error;
        return false;
    }
    png_init_io(d.png, d.file);
    png_set_sig_bytes(d.png, kSignatureBytes);
    png_read_info(d.png, d.info);
    const png_uint_32 width = png_get_image_width(d.png, d.info);
    const png_uint_32 height = png_get_image_height(d.png, d.info);
    std::error_code sizeError;
    const uintmax_t fileBytes = std::filesystem::file_size(path, sizeError);
    if (width == 0 || height == 0 || width > QelPixelImage::kMaxSide || height > QelPixelImage::kMaxSide ||
        sizeError ||
        static_cast<double>(width) * height > QelPixelImage::kMaxPixelsPerFileByte * static_cast<double>(fileBytes)) {
        error = path + ": size " + std::to_string(width) + " x " + std::to_string(height) + " is out of range";
        return false;
    }
    if (png_get_interlace_type(d.png, d.info) != PNG_INTERLACE_NONE) {
        error = path + ": interlaced";
        return false;
    }
    // Whatever the file holds, rows arrive as 8-bit red, green, blue, alpha.
    png_set_expand(d.png);
    png_set_strip_16(d.png);
    png_set_gray_to_rgb(d.png);
    png_set_add_alpha(d.png, 0xFF, PNG_FILLER_AFTER);
    png_read_update_info(d.png, d.info);
    if (png_get_rowbytes(d.png, d.info) != static_cast<size_t>(width) * kBytesPerPixel) {
        error = path + ": rows do not turn into RGBA";
        return false;
    }
    decoder_ = std::move(decoder);
    width_ = static_cast<int>(width);
    height_ = static_cast<int>(height);
    return true;
}

int QelPngRows::ReadRows(int count, uint8_t* out, std::string& error)
{
    if (height_ > 0 && rowsRead_ == height_)
        return 0;
    if (!decoder_) {
        error = path_ + ": not open";
        return -1;
    }
    Decoder& d = *decoder_;
    const int rows = std::max(0, std::min(count, height_ - rowsRead_));
    if (setjmp(png_jmpbuf(d.png))) {
        error = path_ + ": " + d.error;
        Close();
        return -1;
    }
    for (int row = 0; row < rows; ++row)
        png_read_row(d.png, out + static_cast<size_t>(row) * width_ * kBytesPerPixel, nullptr);
    rowsRead_ += rows;
    if (rowsRead_ == height_)
        decoder_.reset();  // the file is closed as soon as the last row is in
    return rows;
}
