#pragma once
// Where the game's data lives, and the guard that keeps names taken from data
// files, scripts or the network inside it.
//
// The game names its files "data/..."; those paths are redirected into the
// data folder found here, so the game runs from any working folder and tests
// point it at a fixture with QEL_DATA_DIR.

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace qel {

// The data folder: $QEL_DATA_DIR, else ./data in the working folder, else data/
// beside the executable. When none exists, ./data, so errors name a path the
// user recognises.
std::filesystem::path DataFolder();

// The same choice from explicit inputs (a null or empty variable counts as
// unset); DataFolder() passes the environment, working folder and executable.
std::filesystem::path ChooseDataFolder(const char* dataDirVariable, const std::filesystem::path& workingFolder,
                                       const std::filesystem::path& executableFolder);

// Whether the folder holds the game's data: its preferences document, which
// every program reads first.
bool HoldsGameData(const std::filesystem::path& folder);

// For programs run from a build tree (benchmarks, fuzz targets): when the
// data folder chosen as above holds no game data and QEL_DATA_DIR is unset,
// the data folder of the source tree the program was built from is used,
// through QEL_DATA_DIR. The folder in use, or nothing when neither holds the
// game's data.
std::optional<std::filesystem::path> UseDataFolderOr(const std::filesystem::path& builtFrom);

// One line that says where the game's data was looked for and how to point
// a program at it.
std::string MissingDataFolderText();

// A path as the game writes it, made ready to open: '\' becomes '/', and
// "data" or "data/..." is redirected into DataFolder(). Other paths (the
// settings file, files of the working folder) are left as they are.
std::string ResolveGamePath(std::string_view path);

// A file name taken from data, a script or the network, made safe to use below
// the data folder: '\' becomes '/', empty and "." parts are dropped. Nothing
// when the name could leave the folder or is not a name at all: empty, absolute
// ("/x", "C:x"), holding a ".." part or a NUL byte.
std::optional<std::string> CheckDataName(std::string_view name);

}  // namespace qel
