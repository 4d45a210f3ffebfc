#pragma once
// The CPU copy of a bitmap's pixels: rows from the top, four bytes a pixel in
// red, green, blue, alpha order. It works without any graphics context, so
// pixel reads, font atlases and images can be checked headless; the graphics
// service uploads it to its texture when it changed.

#include <cstdint>
#include <string>
#include <vector>

#include "engine/base/QelLargeBlocks.h"

class QelPixelImage {
public:
    // Largest side accepted from a file: a bigger claim is a damaged or
    // hostile file, and the largest texture drivers promise is 16384.
    static constexpr int kMaxSide = 16384;
    // No image format packs more pixels into a byte than deflate's best
    // (1032 bytes out of one) at one bit a pixel. A file that claims more
    // pixels than its bytes could hold is damaged or hostile: decoding it
    // would cost time and memory for the size it claims (a 56-byte image
    // file without compression can claim 3855 x 3855).
    static constexpr double kMaxPixelsPerFileByte = 8.0 * 1032.0;

    // A transparent black image; sides below 0 count as 0.
    void Resize(int width, int height);

    int Width() const { return width_; }
    int Height() const { return height_; }
    bool Contains(int x, int y) const { return x >= 0 && y >= 0 && x < width_ && y < height_; }

    // Components 0..1; each byte is the integer part of value x 255 (clamped).
    // Outside the image nothing happens (Get leaves the outputs alone).
    void SetPixel(int x, int y, float alpha, float red, float green, float blue);
    void GetPixel(int x, int y, float& alpha, float& red, float& green, float& blue) const;

    uint8_t* Data() { return pixels_.data(); }
    const uint8_t* Data() const { return pixels_.data(); }
    size_t ByteCount() const { return pixels_.size(); }

    // Decodes a PNG, JPEG or other image stb_image reads; false (and the image
    // unchanged) when the file is missing, does not decode, is larger than
    // kMaxSide on a side or claims more pixels than its bytes can hold.
    bool LoadImageFile(const std::string& path, std::string& error);
    // The engine's raw form: int32 width, int32 height (little-endian), then
    // width x height RGBA pixels from the top row. False when the sizes are
    // out of range or the file is shorter than they claim.
    bool LoadRawFile(const std::string& path, std::string& error);
    // RGBA PNG, 8 bits a component; false when the file cannot be written.
    bool SavePNG(const std::string& path) const;

    // The size an image takes to fit a side limit, keeping its proportions:
    // unchanged when it fits, else the longer side becomes the limit.
    static void FitWithin(int limit, int& width, int& height);
    // Resamples the pixels to the new size (filtered, not just picked).
    void ScaleTo(int width, int height);
    // The next level of a mip chain: each side halved (rounded down, at least
    // 1), each pixel the rounded mean of the 2 x 2 pixels above it (of the 2
    // where a side is 1 already; an odd last row or column is left out).
    QelPixelImage MipLevelBelow() const;
    // The index of the chain's 1 x 1 level: how often MipLevelBelow halves
    // the longer side down to 1.
    int LastMipLevel() const;

    // In pixels, right and bottom one past the last.
    struct Box {
        int left = 0, top = 0, right = 0, bottom = 0;
        bool Empty() const { return left >= right || top >= bottom; }
    };
    // The smallest box holding every pixel with any alpha; empty for an
    // image that is wholly transparent.
    Box InkBox() const;

private:
    // Pictures run to megabytes: their pixels may lie on huge pages.
    using Bytes = std::vector<uint8_t, QelLargeBlockAllocator<uint8_t>>;

    bool DecodePngRows(const std::string& path);
    bool WritePNGFile(const std::string& path) const;

    int width_ = 0;
    int height_ = 0;
    Bytes pixels_;
};
