// File names from data files, scripts and the network: a name either stays
// inside the data folder or is refused, and a name that was made safe stays
// as it is when checked again.

#include "engine/base/QelDataFolder.h"
#include "fuzz/support/FuzzProcess.h"

#include <optional>
#include <string>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string_view name(reinterpret_cast<const char*>(data), size);
    const std::optional<std::string> safe = qel::CheckDataName(name);
    if (!safe)
        return 0;
    const std::string& clean = *safe;
    QEL_FUZZ_CHECK(!clean.empty() && clean.front() != '/', "\"" + clean + "\" is empty or absolute");
    QEL_FUZZ_CHECK(clean.find('\\') == std::string::npos && clean.find('\0') == std::string::npos,
                   "\"" + clean + "\" holds a backslash or a NUL");
    QEL_FUZZ_CHECK(("/" + clean + "/").find("/../") == std::string::npos, "\"" + clean + "\" climbs out");
    QEL_FUZZ_CHECK(("/" + clean + "/").find("//") == std::string::npos, "\"" + clean + "\" has an empty part");
    QEL_FUZZ_CHECK(qel::CheckDataName(clean) == safe, "\"" + clean + "\" changes when checked again");
    return 0;
}
