// The machine settings file, which a user may edit by hand: any bytes read as
// some set of values, and storing a value rewrites the file without changing
// any other value that was readable.

#include "engine/base/QelSettingsFile.h"
#include "fuzz/support/FuzzProcess.h"

#include <optional>
#include <string>
#include <vector>

namespace {

// The names the engine stores, and the names the file itself shows.
std::vector<std::string> NamesIn(const uint8_t* data, size_t size)
{
    std::vector<std::string> names = {"ambientVolume", "sfxVolume", "guiVolume", "clientMachineName"};
    const std::string text(reinterpret_cast<const char*>(data), size);
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string::npos)
            end = text.size();
        const size_t equals = text.find('=', start);
        if (equals != std::string::npos && equals < end)
            names.push_back(text.substr(start, equals - start));
        start = end + 1;
    }
    return names;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    PrepareFuzzProcess();
    const std::filesystem::path folder = FuzzScratchFolder() / "machine";
    std::filesystem::create_directories(folder);
    WriteFuzzFile(folder / "qelEngine.cfg", data, size);
    QelSettingsFile settings(folder);

    const std::vector<std::string> names = NamesIn(data, size);
    std::vector<std::optional<std::string>> before;
    for (const std::string& name : names)
        before.push_back(settings.Get(name));

    const std::string probe = "fuzzProbe";
    const std::string value = "a value\nwith a line end, a \\ and \r";
    QEL_FUZZ_CHECK(settings.Set(probe, value), "a value could not be stored");
    QEL_FUZZ_CHECK(settings.Get(probe) == value, "a stored value reads back different");
    for (size_t i = 0; i < names.size(); ++i)
        QEL_FUZZ_CHECK(names[i] == probe || settings.Get(names[i]) == before[i],
                       "storing a value changed \"" + names[i] + "\"");
    return 0;
}
