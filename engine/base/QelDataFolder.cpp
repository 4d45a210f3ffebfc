#include "engine/base/QelDataFolder.h"

#include <cstdlib>
#include <system_error>

namespace qel {

namespace {

constexpr std::string_view kDataPrefix = "data";

bool IsFolder(const std::filesystem::path& path)
{
    std::error_code error;
    return std::filesystem::is_directory(path, error);
}

std::filesystem::path ExecutableFolder()
{
    std::error_code error;
    const std::filesystem::path executable = std::filesystem::read_symlink("/proc/self/exe", error);
    return error ? std::filesystem::path() : executable.parent_path();
}

std::filesystem::path WorkingFolder()
{
    std::error_code error;
    const std::filesystem::path folder = std::filesystem::current_path(error);
    return error ? std::filesystem::path(".") : folder;
}

// "C:" and the like: absolute on the system the data may have been written on.
bool BeginsWithDriveLetter(std::string_view name)
{
    return name.size() >= 2 && name[1] == ':' &&
           ((name[0] >= 'A' && name[0] <= 'Z') || (name[0] >= 'a' && name[0] <= 'z'));
}

}  // namespace

std::filesystem::path ChooseDataFolder(const char* dataDirVariable, const std::filesystem::path& workingFolder,
                                       const std::filesystem::path& executableFolder)
{
    if (dataDirVariable != nullptr && *dataDirVariable != '\0')
        return dataDirVariable;
    const std::filesystem::path working = workingFolder / kDataPrefix;
    if (IsFolder(working))
        return working;
    if (!executableFolder.empty()) {
        const std::filesystem::path besideExecutable = executableFolder / kDataPrefix;
        if (IsFolder(besideExecutable))
            return besideExecutable;
    }
    return working;
}

std::filesystem::path DataFolder()
{
    return ChooseDataFolder(std::getenv("QEL_DATA_DIR"), WorkingFolder(), ExecutableFolder());
}

bool HoldsGameData(const std::filesystem::path& folder)
{
    std::error_code error;
    return std::filesystem::is_regular_file(folder / "preferences.yaml", error) ||
           std::filesystem::is_regular_file(folder / "preferences.json", error);
}

std::optional<std::filesystem::path> UseDataFolderOr(const std::filesystem::path& builtFrom)
{
    const std::filesystem::path chosen = DataFolder();
    if (HoldsGameData(chosen))
        return chosen;
    const char* variable = std::getenv("QEL_DATA_DIR");
    if ((variable != nullptr && *variable != '\0') || builtFrom.empty() || !HoldsGameData(builtFrom))
        return std::nullopt;
    setenv("QEL_DATA_DIR", builtFrom.c_str(), 1);
    return builtFrom;
}

std::string MissingDataFolderText()
{
    const char* variable = std::getenv("QEL_DATA_DIR");
    const std::string looked = (variable != nullptr && *variable != '\0')
                                   ? "QEL_DATA_DIR names " + std::string(variable)
                                   : "neither ./data in the working folder nor data/ beside the program exists";
    return "The game's data was not found (" + looked + ", or it holds no preferences.yaml); set QEL_DATA_DIR "
           "to the game's data folder, or start the program from the folder that holds data/.";
}

std::string ResolveGamePath(std::string_view path)
{
    std::string resolved(path);
    for (char& c : resolved) {
        if (c == '\\')
            c = '/';
    }
    if (resolved.compare(0, kDataPrefix.size(), kDataPrefix) != 0)
        return resolved;
    if (resolved.size() == kDataPrefix.size())
        return DataFolder().string();
    if (resolved[kDataPrefix.size()] != '/')
        return resolved;  // "database.txt" is not inside the data folder
    return (DataFolder() / resolved.substr(kDataPrefix.size() + 1)).string();
}

std::optional<std::string> CheckDataName(std::string_view name)
{
    if (name.empty() || name.find('\0') != std::string_view::npos || BeginsWithDriveLetter(name))
        return std::nullopt;
    if (name.front() == '/' || name.front() == '\\')
        return std::nullopt;

    std::string clean;
    size_t start = 0;
    while (start <= name.size()) {
        size_t end = name.find_first_of("/\\", start);
        if (end == std::string_view::npos)
            end = name.size();
        const std::string_view part = name.substr(start, end - start);
        if (part == "..")
            return std::nullopt;
        if (!part.empty() && part != ".") {
            if (!clean.empty())
                clean += '/';
            clean += part;
        }
        start = end + 1;
    }
    // "./C:/x" is the drive-letter path "C:/x" once its "." is gone.
    if (clean.empty() || BeginsWithDriveLetter(clean))
        return std::nullopt;
    return clean;
}

}  // namespace qel
