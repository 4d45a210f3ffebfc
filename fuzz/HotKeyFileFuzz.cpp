// The hot-key file, which users edit by hand: any text reads as some table of
// hot keys, and that table, written back by the game and read again, binds
// the same keys. A binding is what a query looks at: the primary key and the
// modifiers up to the first empty slot (a tag that names no key empties its
// slot and ends the list), each with its NOT flag; a hot key whose primary
// key is none takes the caller's defaults at its first query, modifiers and
// all, so then only its name and description count.

#include "fuzz/support/FuzzProcess.h"
#include "game/ui/KeyVal.h"

#include <map>
#include <string>
#include <utility>
#include <vector>

namespace {

struct Binding {
    int32_t primary = 0;
    std::vector<std::pair<int32_t, bool>> modifiers;
    std::string description;
    bool operator==(const Binding&) const = default;
};

std::map<std::string, Binding> Bindings(const std::map<std::string, HotKey>& table)
{
    std::map<std::string, Binding> bindings;
    for (const auto& [name, key] : table) {
        Binding& binding = bindings[name];
        binding.primary = key.primary;
        binding.description = key.description;
        for (int slot = 0; key.primary != 0 && slot < HotKey::kMaxModifiers && key.modifiers[slot] != 0; ++slot)
            binding.modifiers.emplace_back(key.modifiers[slot], key.notFlags[slot]);
    }
    return bindings;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    PrepareFuzzProcess();
    WriteFuzzFile(UseScratchDataFolder() / "hot_key_settings.txt", data, size);
    KeyVal::Unload();
    KeyVal::Load();
    const std::map<std::string, Binding> read = Bindings(KeyVal::Table());
    KeyVal::Save();
    KeyVal::Unload();
    KeyVal::Load();
    QEL_FUZZ_CHECK(Bindings(KeyVal::Table()) == read, "a hot-key table written back binds other keys");
    return 0;
}
