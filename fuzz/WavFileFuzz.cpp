// Sound effect files: any bytes read as 16-bit samples in whole frames of
// the channels the format names, or are refused with a reason.

#include "engine/base/QelWaveFile.h"
#include "fuzz/support/FuzzProcess.h"

#include <optional>
#include <span>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    std::string error;
    const std::optional<QelWaveData> wave = ReadWAVFile(std::span<const uint8_t>(data, size), error);
    if (!wave) {
        QEL_FUZZ_CHECK(!error.empty(), "a refused file gave no reason");
        return 0;
    }
    QEL_FUZZ_CHECK(wave->Channels() > 0, "a sound without channels was taken");
    QEL_FUZZ_CHECK(wave->samples.size() % static_cast<size_t>(wave->Channels()) == 0,
                   "the samples are not whole frames");
    QEL_FUZZ_CHECK(wave->samples.size() * sizeof(int16_t) <= 2 * size + 8,
                   "more samples came out than the file can hold");
    return 0;
}
