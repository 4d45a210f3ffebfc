// halvex-server: hosts one mission with no window, GPU or audio, running the
// game's own frame and tick order, for the integration tests and benchmarks.
// What the mission prints goes to standard output, line by line.

#include "engine/base/QelDataFolder.h"
#include "engine/net/QelEnetNetworkFactoryBase.h"
#include "tools/halvex-server/HarnessGameLoop.h"
#include "tools/halvex-server/HarnessOptions.h"
#include "tools/halvex-server/HeadlessHost.h"

#include <cstdio>
#include <cstdlib>
#include <exception>
#include <memory>
#include <string>
#include <vector>

namespace {

constexpr int kExitBadOptions = 2;

// Everything below the data folder follows QEL_DATA_DIR, so the chosen
// folder is set there before the game reads anything.
void UseDataFolder(const std::filesystem::path& folder)
{
    setenv("QEL_DATA_DIR", folder.c_str(), 1);
}

int Host(const HarnessOptions& options, const HostedMission& mission)
{
    UseDataFolder(mission.dataFolder);
    // The engine's network service, made before the game as the window
    // program's system object makes it.
    std::unique_ptr<QelEnetNetworkFactoryBase> network;
    try {
        network = std::make_unique<QelEnetNetworkFactoryBase>();
    } catch (const std::exception& error) {
        std::fprintf(stderr, "halvex-server: %s\n", error.what());
        return EXIT_FAILURE;
    }
    gNetworkFactory = network.get();

    HarnessGameLoop game(options.port, mission, options.ticks);
    HeadlessHost host({options.seconds, options.fast}, [&game] { return game.ReachedTickLimit(); });
    const bool clean = host.Run(game);
    gNetworkFactory = nullptr;
    return clean ? EXIT_SUCCESS : EXIT_FAILURE;
}

}  // namespace

int main(int argc, char** argv)
{
    std::setvbuf(stdout, nullptr, _IOLBF, 0);
    HarnessOptions options;
    HostedMission mission;
    try {
        options = ParseHarnessOptions(std::vector<std::string>(argv + 1, argv + argc));
        if (options.help) {
            std::fputs(HarnessUsage(), stdout);
            return EXIT_SUCCESS;
        }
        mission = ResolveMission(options, qel::DataFolder());
    } catch (const HarnessOptionError& error) {
        std::fprintf(stderr, "halvex-server: %s\n%s", error.what(), HarnessUsage());
        return kExitBadOptions;
    }
    return Host(options, mission);
}
