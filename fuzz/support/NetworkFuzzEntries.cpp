#include "fuzz/support/NetworkFuzzEntries.h"

#include "fuzz/support/ClientFixture.h"
#include "fuzz/support/FuzzProcess.h"
#include "fuzz/support/MessagePrefix.h"
#include "fuzz/support/ServerFixture.h"

#include <charconv>
#include <cstdio>
#include <cstdlib>
#include <string_view>

namespace {

// A target feeds one handler all its run, so the prefix is made once.
const std::vector<uint8_t>& PrefixOf(const char* messageName, int signalCode)
{
    static const std::vector<uint8_t> prefix =
        MessagePrefix(messageName, signalCode < 0 ? std::nullopt : std::optional<uint16_t>(signalCode));
    return prefix;
}

}  // namespace

void FuzzServerInput(const uint8_t* data, size_t size, const char* messageName, int signalCode)
{
    PrepareFuzzProcess();
    const std::vector<uint8_t>& prefix = PrefixOf(messageName, signalCode);
    ServerFixture server;
    server.Run(data, size, prefix);
}

void FuzzClientInput(const uint8_t* data, size_t size, const char* messageName, int signalCode)
{
    PrepareFuzzProcess();
    const std::vector<uint8_t>& prefix = PrefixOf(messageName, signalCode);
    ClientFixture console;
    console.Run(data, size, prefix);
}

int SignalCodeOfProgram(const char* programPath)
{
    const std::string_view path = programPath;
    const std::string_view name = path.substr(path.find_last_of('/') + 1);
    const size_t separator = name.find_last_of('_');
    int code = -1;
    if (separator != std::string_view::npos) {
        const std::string_view digits = name.substr(separator + 1);
        const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), code);
        if (error != std::errc() || end != digits.data() + digits.size() || digits.empty())
            code = -1;
    }
    if (code < 0 || code > UINT16_MAX) {
        std::fprintf(stderr, "fuzz target: run %.*s under the name of a code's target, such as %.*s_5\n",
                     int(name.size()), name.data(), int(name.size()), name.data());
        std::exit(EXIT_FAILURE);
    }
    return code;
}
