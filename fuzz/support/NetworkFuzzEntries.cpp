#include "fuzz/support/NetworkFuzzEntries.h"

#include "fuzz/support/ClientFixture.h"
#include "fuzz/support/FuzzProcess.h"
#include "fuzz/support/MessagePrefix.h"
#include "fuzz/support/ServerFixture.h"

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
