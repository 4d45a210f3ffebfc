#include "game/script/MissionScriptFile.h"

#include "game/script/MissionScript.h"
#include "helper/TextCheck.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>

namespace fs = std::filesystem;

void CheckMissionScriptFile(const std::string& path)
{
    std::error_code error;
    const fs::file_status status = fs::status(path, error);
    if (!fs::exists(status))
        throw ScriptError(path + " is missing: a mission folder needs its script.py; nothing started.");
    if (fs::is_directory(status))
        throw ScriptError(path + " is a folder, not the mission's script; nothing started.");
    if (!fs::is_regular_file(status))
        throw ScriptError(path + " is not a file; nothing started.");
    std::ifstream file(path, std::ios::binary);
    const std::string text{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
    if (!file.good() && !file.eof())
        throw ScriptError(path + " could not be read (" + std::strerror(errno) + "); nothing started.");
    // Python reads other encodings when the script declares one, so only the
    // NUL byte, which no encoding allows, is refused here.
    if (const std::optional<TextFault> fault = FindTextFault(text, false))
        throw ScriptError(path + " holds " + DescribeTextFault(*fault) +
                          ": a mission script is text; nothing started.");
}
