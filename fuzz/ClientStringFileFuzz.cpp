// The console's string-map file, which a user may edit: any bytes read as
// some map, and that map, saved and read again, comes back unchanged.

#include "fuzz/support/FuzzProcess.h"
#include "game/net/ClientStringFile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    PrepareFuzzProcess();
    const std::filesystem::path file = FuzzScratchFolder() / "client_string_set.txt";
    WriteFuzzFile(file, data, size);
    const ClientStringMap read = ReadClientStringFile(file);
    QEL_FUZZ_CHECK(WriteClientStringFile(file, read), "the map could not be saved");
    QEL_FUZZ_CHECK(ReadClientStringFile(file) == read, "a saved map reads back different");
    return 0;
}
