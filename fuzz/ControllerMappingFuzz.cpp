// Controller settings files (data/joystickSettings_<device>.dat): any bytes
// read whole into a mapping or change nothing; a mapping read is used to
// build the device's maps, and written back it reads as the same mapping.

#include "fuzz/support/FuzzProcess.h"
#include "game/ui/ControllerInputRecord.h"

#include <span>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    ControllerInputRecord record("fuzz stick", 4);
    const std::string untouched = record.ToBytes();
    std::string error;
    if (!record.FromBytes(std::span<const uint8_t>(data, size), error)) {
        QEL_FUZZ_CHECK(!error.empty(), "a refused file gave no reason");
        QEL_FUZZ_CHECK(record.ToBytes() == untouched, "a refused file changed the mapping");
        return 0;
    }
    record.BuildMaps(ControllerInputRecord::kSlots, ControllerInputRecord::kSlots);
    const std::string written = record.ToBytes();
    ControllerInputRecord again("fuzz stick", 4);
    QEL_FUZZ_CHECK(again.FromBytes(std::span<const uint8_t>(reinterpret_cast<const uint8_t*>(written.data()),
                                                            written.size()),
                                   error),
                   "a mapping written back is refused: " + error);
    QEL_FUZZ_CHECK(again.ToBytes() == written, "a mapping written back reads back different");
    return 0;
}
