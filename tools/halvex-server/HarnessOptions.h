#pragma once
// The command line of halvex-server, and where it finds the mission to host.

#include <cstdint>
#include <filesystem>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

// A command line or mission choice the harness cannot run with; the text says
// what was wrong.
class HarnessOptionError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

struct HarnessOptions {
    std::optional<std::filesystem::path> dataFolder;  // --data; unset: the game's own data folder
    std::string mission;                              // --mission: a name under missions/, or a folder
    uint16_t port = 0;                                // --port; 0: any free port
    std::optional<int64_t> ticks;                     // --ticks: stop after this many ticks
    std::optional<double> seconds;                    // --seconds: stop after this much wall-clock time
    bool fast = false;                                // --fast: ticks back to back
    bool help = false;                                // --help
};

// The mission as the script host starts it: a folder name inside the
// missions folder of the data folder, or a folder the operator named by its
// path, wherever it lies.
struct HostedMission {
    std::filesystem::path dataFolder;
    std::string name;
    std::optional<std::filesystem::path> folder;  // set: hosted from this path
};

// Reads the arguments after the program name; throws HarnessOptionError.
HarnessOptions ParseHarnessOptions(const std::vector<std::string>& arguments);

// Finds the mission folder. A name is looked up in <data>/missions. A path
// (anything holding a '/') must be a folder: inside the "missions" folder of
// --data's folder (or, without --data, of any data folder, which is then the
// one used) it is hosted by its name; anywhere else by its path, with --data's
// folder or the default. Throws HarnessOptionError when there is no such
// mission.
HostedMission ResolveMission(const HarnessOptions& options, const std::filesystem::path& defaultDataFolder);

// The usage text printed by --help and after a bad option.
const char* HarnessUsage();
