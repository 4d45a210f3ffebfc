// Answers to a console's search of the local network, which anyone on it can
// send: each fuzzed frame is one datagram. The list of servers stays within
// its bound and names every server once.

#include "fuzz/support/FuzzFrames.h"
#include "fuzz/support/FuzzProcess.h"
#include "game/net/LanServerDiscovery.h"

#include <optional>

namespace {

void CheckEachServerOnce(const std::vector<DiscoveredServer>& servers)
{
    QEL_FUZZ_CHECK(servers.size() <= LanServerDiscovery::kMaxFoundServers, "the list grew past its bound");
    for (size_t i = 0; i < servers.size(); ++i)
        for (size_t j = i + 1; j < servers.size(); ++j) {
            QEL_FUZZ_CHECK(servers[i].address != servers[j].address, "two entries have one address");
            QEL_FUZZ_CHECK(servers[i].name.empty() || servers[i].name != servers[j].name,
                           "two entries have one name");
        }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    LanServerDiscovery discovery;
    FuzzFrameReader frames(data, size);
    FuzzFrame frame;
    while (frames.Next(frame)) {
        if (std::optional<DiscoveredServer> server = LanServerDiscovery::ParseAnswer(frame.bytes.data(),
                                                                                     frame.bytes.size()))
            discovery.RecordAnswer(*server);
        CheckEachServerOnce(discovery.FoundServers());
    }
    return 0;
}
