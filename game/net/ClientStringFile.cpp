#include "game/net/ClientStringFile.h"

#include <cstdio>
#include <fstream>
#include <system_error>

namespace {

std::string TrimLineEnd(std::string text)
{
    const size_t end = text.find_last_not_of(" \n\r\t");
    text.erase(end == std::string::npos ? 0 : end + 1);
    return text;
}

bool FitsStringMapFile(const std::string& key, const std::string& value)
{
    return key.find('\n') == std::string::npos && value.find('\n') == std::string::npos;
}

void ReportUnsavedEntry(const std::string& key)
{
    static bool reported = false;
    if (reported)
        return;
    reported = true;
    std::fprintf(stderr, "client string map: the entry \"%s\" holds a line break and is not saved; later ones "
                 "are skipped quietly\n", key.c_str());
}

}  // namespace

ClientStringMap ReadClientStringFile(const std::filesystem::path& path)
{
    ClientStringMap map;
    std::ifstream file(path, std::ios::binary);
    std::string key;
    while (std::getline(file, key)) {
        std::string value;
        std::getline(file, value);
        key = TrimLineEnd(key);
        if (!key.empty())
            map[key] = TrimLineEnd(value);
    }
    return map;
}

bool WriteClientStringFile(const std::filesystem::path& path, const ClientStringMap& map)
{
    std::filesystem::path temporary = path;
    temporary += ".tmp";
    {
        std::ofstream file(temporary, std::ios::binary | std::ios::trunc);
        for (const auto& [key, value] : map) {
            if (FitsStringMapFile(key, value))
                file << key << '\n' << value << '\n';
            else
                ReportUnsavedEntry(key);
        }
        if (!file.flush()) {
            std::fprintf(stderr, "client string map: could not write %s; the map stays unsaved\n",
                         temporary.string().c_str());
            return false;
        }
    }
    std::error_code error;
    std::filesystem::rename(temporary, path, error);
    if (error) {
        std::fprintf(stderr, "client string map: could not replace %s: %s\n", path.string().c_str(),
                     error.message().c_str());
        return false;
    }
    return true;
}
