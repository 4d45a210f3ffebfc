#pragma once
// The game's own client as an in-process console of halvex-server.

#include "game/net/CorvaneClient.h"

#include <cstdint>
#include <memory>

namespace harnesstest {

// A client with the console's own settings, on the harness's port, without
// the local-network search and without a string map file in the shared data
// folder.
inline std::unique_ptr<CorvaneClient> MakeHarnessConsole(uint16_t port)
{
    CorvaneClient::Settings settings = CorvaneClient::Settings::FromPreferences();
    settings.port = port;
    settings.lanDiscovery = false;
    settings.stringMapFile.clear();
    return std::make_unique<CorvaneClient>(settings);
}

}  // namespace harnesstest
