// The engineering presets file, which users may edit by hand: any text reads
// as ten presets inside what the controls offer (power 0 to 3, coolant not
// below 0), and those presets, written back by the game and read again, give
// the same file.

#include "fuzz/support/FuzzProcess.h"
#include "game/widgets/EngPresets.h"

namespace {

bool InRange(const EngineeringValueSet& set)
{
    for (const EngineeringValueSet::Preset& preset : set.presets) {
        for (float power : preset.power)
            if (!(power >= EngineeringValueSet::kMinPower && power <= EngineeringValueSet::kMaxPower))
                return false;
        for (int32_t coolant : preset.coolant)
            if (coolant < 0)
                return false;
    }
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    PrepareFuzzProcess();
    WriteFuzzFile(UseScratchDataFolder() / "Engineering-Presets.txt", data, size);
    EngineeringValueSet read;
    read.Load();
    QEL_FUZZ_CHECK(InRange(read), "a preset read from the file holds a value no control offers");
    read.Save();
    EngineeringValueSet again;
    again.Load();
    QEL_FUZZ_CHECK(again.FileText() == read.FileText(), "presets written back read as other presets");
    return 0;
}
