#include "tools/test-sandbox/DataOverlay.h"

#include <algorithm>
#include <array>
#include <string_view>

namespace fs = std::filesystem;

namespace {

// Large assets the build makes and the game reads, or makes again and
// renames into place. Everything else (preferences, ship lists, missions,
// layouts, hot keys, presets, logs a writer appends to) is copied.
constexpr std::array<std::string_view, 11> kLinkedExtensions = {
    ".png", ".jpg", ".ogg", ".wav", ".obj", ".mtl", ".qelmesh", ".pointcube", ".ttf", ".otf", ".dds"};

void CopyEntry(const fs::directory_entry& entry, const fs::path& to)
{
    if (entry.is_symlink()) {
        fs::path pointee = fs::read_symlink(entry.path());
        if (pointee.is_relative())
            pointee = entry.path().parent_path() / pointee;
        fs::create_symlink(pointee, to);
    } else if (entry.is_directory()) {
        fs::create_directory(to);
    } else if (IsLinkedAsset(entry.path())) {
        fs::create_symlink(entry.path(), to);
    } else if (entry.is_regular_file()) {
        fs::copy_file(entry.path(), to);
    }
}

}  // namespace

bool IsLinkedAsset(const fs::path& file)
{
    std::string extension = file.extension().string();
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return std::find(kLinkedExtensions.begin(), kLinkedExtensions.end(), extension) != kLinkedExtensions.end();
}

void MakeDataOverlay(const fs::path& source, const fs::path& target)
{
    const fs::path from = fs::absolute(source);
    fs::create_directory(target);
    for (const fs::directory_entry& entry : fs::recursive_directory_iterator(from))
        CopyEntry(entry, target / entry.path().lexically_relative(from));
}

std::vector<std::string> ChangedSince(const fs::path& source, fs::file_time_type stamp)
{
    std::vector<std::string> changed;
    const auto note = [&](const fs::path& path) {
        std::error_code error;
        const fs::file_time_type written = fs::symlink_status(path, error).type() == fs::file_type::symlink
                                               ? fs::file_time_type::min()
                                               : fs::last_write_time(path, error);
        if (!error && written >= stamp)
            changed.push_back(path.lexically_relative(source).string());
    };
    note(source);
    std::error_code error;
    for (fs::recursive_directory_iterator it(source, error), end; !error && it != end; it.increment(error))
        note(it->path());
    return changed;
}
