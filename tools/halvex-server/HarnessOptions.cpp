#include "tools/halvex-server/HarnessOptions.h"

#include <charconv>
#include <cmath>
#include <limits>
#include <system_error>

namespace fs = std::filesystem;

namespace {

// The text after an option, or an error naming the option.
const std::string& ValueOf(const std::vector<std::string>& arguments, size_t& index)
{
    if (index + 1 >= arguments.size())
        throw HarnessOptionError("option " + arguments[index] + " needs a value");
    return arguments[++index];
}

template <typename Number>
Number ParseNumber(const std::string& option, const std::string& text, Number low, Number high)
{
    Number value{};
    const char* end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, value);
    if (error != std::errc() || stop != end || value < low || value > high)
        throw HarnessOptionError("option " + option + " takes a number from " + std::to_string(low) + " to " +
                                 std::to_string(high) + ", not \"" + text + "\"");
    return value;
}

double ParseSeconds(const std::string& text)
{
    size_t used = 0;
    double value = 0.0;
    try {
        value = std::stod(text, &used);
    } catch (const std::exception&) {
        used = 0;
    }
    if (used != text.size() || text.empty() || !std::isfinite(value) || value <= 0.0)
        throw HarnessOptionError("option --seconds takes a positive number of seconds, not \"" + text + "\"");
    return value;
}

// What the folder holds is the script host's to judge when it starts the
// mission: a folder without a usable script is a mission that cannot start,
// not a wrong command line.
void RequireMissionFolder(const fs::path& folder, const std::string& mission)
{
    std::error_code error;
    if (!fs::is_directory(folder, error))
        throw HarnessOptionError("no mission \"" + mission + "\": " + folder.string() + " is not a folder");
}

// Without a trailing separator, so that the last part names the folder.
fs::path Canonical(const fs::path& path)
{
    std::error_code error;
    fs::path canonical = fs::weakly_canonical(path, error);
    if (error)
        canonical = path.lexically_normal();
    return canonical.has_filename() ? canonical : canonical.parent_path();
}

// A folder of a data folder's missions is hosted by its name from that data
// folder: --data's, or without it the folder's own. Any other folder is the
// operator's own choice, hosted by its path beside the data folder.
HostedMission ResolveMissionPath(const HarnessOptions& options, const fs::path& defaultDataFolder)
{
    const fs::path folder = Canonical(options.mission);
    RequireMissionFolder(folder, options.mission);
    const fs::path missions = folder.parent_path();
    const bool inMissions = missions.filename() == "missions";
    if (options.dataFolder) {
        const fs::path data = Canonical(*options.dataFolder);
        if (inMissions && missions.parent_path() == data)
            return {data, folder.filename().string(), std::nullopt};
        return {data, folder.filename().string(), folder};
    }
    if (inMissions)
        return {missions.parent_path(), folder.filename().string(), std::nullopt};
    return {defaultDataFolder, folder.filename().string(), folder};
}

}  // namespace

HarnessOptions ParseHarnessOptions(const std::vector<std::string>& arguments)
{
    HarnessOptions options;
    for (size_t i = 0; i < arguments.size(); ++i) {
        const std::string& option = arguments[i];
        if (option == "--data")
            options.dataFolder = fs::path(ValueOf(arguments, i));
        else if (option == "--mission")
            options.mission = ValueOf(arguments, i);
        else if (option == "--port")
            options.port = ParseNumber<uint16_t>(option, ValueOf(arguments, i), 0, 65535);
        else if (option == "--ticks")
            options.ticks = ParseNumber<int64_t>(option, ValueOf(arguments, i), 1,
                                                 std::numeric_limits<int64_t>::max());
        else if (option == "--seconds")
            options.seconds = ParseSeconds(ValueOf(arguments, i));
        else if (option == "--fast")
            options.fast = true;
        else if (option == "--help" || option == "-h")
            options.help = true;
        else
            throw HarnessOptionError("unknown option \"" + option + "\"");
    }
    if (options.mission.empty() && !options.help)
        throw HarnessOptionError("no mission given: use --mission NAME_OR_PATH");
    return options;
}

HostedMission ResolveMission(const HarnessOptions& options, const fs::path& defaultDataFolder)
{
    if (options.mission.find('/') != std::string::npos)
        return ResolveMissionPath(options, defaultDataFolder);
    if (options.mission == "." || options.mission == "..")
        throw HarnessOptionError("no mission \"" + options.mission + "\": not a mission name");
    const fs::path data = options.dataFolder ? *options.dataFolder : defaultDataFolder;
    RequireMissionFolder(data / "missions" / options.mission, options.mission);
    return {data, options.mission, std::nullopt};
}

const char* HarnessUsage()
{
    return "usage: halvex-server --mission NAME_OR_PATH [--data DIR] [--port N] [--ticks N] [--seconds S] [--fast]\n"
           "  --mission  a folder under DIR/missions, or the path of a mission folder (anywhere)\n"
           "  --data     the data folder (default: the game's data folder)\n"
           "  --port     the port to listen on; 0 (the default) takes any free port\n"
           "  --ticks    stop after N ticks\n"
           "  --seconds  stop after S seconds of wall-clock time\n"
           "  --fast     run ticks back to back instead of every 33 ms\n";
}
