// The hot-key file, which users edit by hand: any text reads as some table of
// hot keys, and that table, written back by the game and read again, is the
// same table.

#include "fuzz/support/FuzzProcess.h"
#include "game/shell/KeyVal.h"

#include <map>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    PrepareFuzzProcess();
    WriteFuzzFile(UseScratchDataFolder() / "hot_key_settings.txt", data, size);
    KeyVal::Unload();
    KeyVal::Load();
    const std::map<std::string, HotKey> read = KeyVal::Table();
    KeyVal::Save();
    KeyVal::Unload();
    KeyVal::Load();
    QEL_FUZZ_CHECK(KeyVal::Table() == read, "a hot-key table written back reads back different");
    return 0;
}
