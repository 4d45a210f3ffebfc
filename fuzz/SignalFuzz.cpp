// The handlers of each "signal" code of one side (CMakeLists.txt sets
// QEL_FUZZ_SIGNAL_ENTRY to the server's or the console's entry): one program
// per side, started under one name per code (<side>_signal_<code>, links to
// it that CMakeLists.txt makes); the name says which code's payloads it is fed.

#include "fuzz/support/NetworkFuzzEntries.h"

namespace {

int signalCode = -1;

}  // namespace

extern "C" int LLVMFuzzerInitialize(int* /*argc*/, char*** argv)
{
    signalCode = SignalCodeOfProgram((*argv)[0]);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    QEL_FUZZ_SIGNAL_ENTRY(data, size, "signal", signalCode);
    return 0;
}
