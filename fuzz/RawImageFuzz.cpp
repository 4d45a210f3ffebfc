// The engine's raw image files (a size header and RGBA rows): any bytes give
// the image they describe, or fail with a reason, and a header may not claim
// more than the file holds.

#include "engine/base/QelPixelImage.h"
#include "fuzz/support/FuzzProcess.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    PrepareFuzzProcess();
    const std::filesystem::path file = FuzzScratchFolder() / "image.raw";
    WriteFuzzFile(file, data, size);
    QelPixelImage image;
    std::string error;
    if (!image.LoadRawFile(file.string(), error)) {
        QEL_FUZZ_CHECK(!error.empty() && image.Width() == 0, "a failed read gave no reason or changed the image");
        return 0;
    }
    QEL_FUZZ_CHECK(8 + image.ByteCount() <= size, "the image holds more pixels than the file");
    QEL_FUZZ_CHECK(image.ByteCount() == static_cast<size_t>(image.Width()) * image.Height() * 4,
                   "the pixels do not match the size");
    return 0;
}
