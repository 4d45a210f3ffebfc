// Image files of the data folder (textures, icons, portraits): any bytes
// decode to an image within the size limit, or fail with a reason.

#include "engine/base/QelPixelImage.h"
#include "fuzz/support/FuzzProcess.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    PrepareFuzzProcess();
    const std::filesystem::path file = FuzzScratchFolder() / "image.png";
    WriteFuzzFile(file, data, size);
    QelPixelImage image;
    std::string error;
    if (!image.LoadImageFile(file.string(), error)) {
        QEL_FUZZ_CHECK(!error.empty() && image.Width() == 0, "a failed decode gave no reason or changed the image");
        return 0;
    }
    QEL_FUZZ_CHECK(image.Width() <= QelPixelImage::kMaxSide && image.Height() <= QelPixelImage::kMaxSide,
                   "an image past the size limit was taken");
    QEL_FUZZ_CHECK(image.ByteCount() == static_cast<size_t>(image.Width()) * image.Height() * 4,
                   "the pixels do not match the size");
    return 0;
}
