// The server's handlers of what consoles send: built once fed whole messages,
// and once per handled "signal" code fed that code's payloads (CMakeLists.txt
// sets QEL_FUZZ_MESSAGE and QEL_FUZZ_SIGNAL_CODE).

#include "fuzz/support/NetworkFuzzEntries.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzServerInput(data, size, QEL_FUZZ_MESSAGE, QEL_FUZZ_SIGNAL_CODE);
    return 0;
}
