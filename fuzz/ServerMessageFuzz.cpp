// The server's handler of whole messages from consoles (CMakeLists.txt sets
// QEL_FUZZ_MESSAGE and QEL_FUZZ_SIGNAL_CODE; SignalFuzz.cpp feeds each
// "signal" code's payloads).

#include "fuzz/support/NetworkFuzzEntries.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzServerInput(data, size, QEL_FUZZ_MESSAGE, QEL_FUZZ_SIGNAL_CODE);
    return 0;
}
