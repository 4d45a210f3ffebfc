#pragma once
// The file that keeps a console's own string map across runs
// (client_string_set.txt): a key line, then a value line, per entry. It is
// read back as written, and a user may edit it, so any text reads as some
// map.

#include <filesystem>
#include <map>
#include <string>

using ClientStringMap = std::map<std::string, std::string>;

// The entries of the file; trailing spaces, tabs and line ends are not part
// of a key or a value, and an empty key is skipped. A missing file reads as
// the empty map.
ClientStringMap ReadClientStringFile(const std::filesystem::path& path);

// Writes the map beside the file and renames it over the old one, so a crash
// while saving never leaves half a map. An entry with a line break in it
// would read back as other entries and shift every later one: such an entry
// is left out (and reported once). False, with the old file kept, when the
// file cannot be written.
bool WriteClientStringFile(const std::filesystem::path& path, const ClientStringMap& map);
