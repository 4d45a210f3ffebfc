#include "fuzz/support/FuzzProcess.h"

#include "engine/base/QelDataFolder.h"
#include "game/behaviours/SpaceObjectAI.h"
#include "game/world/AppData.h"

#include <sanitizer/common_interface_defs.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

namespace {

std::filesystem::path MakeScratchFolder()
{
    std::string pattern = (std::filesystem::temp_directory_path() / "qel-fuzz-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) {
        std::perror("fuzz target: cannot make a scratch folder");
        std::exit(EXIT_FAILURE);
    }
    return pattern;
}

void RemoveScratchFolder()
{
    std::error_code error;
    std::filesystem::remove_all(FuzzScratchFolder(), error);
}

}  // namespace

const std::filesystem::path& FuzzScratchFolder()
{
    static const std::filesystem::path folder = MakeScratchFolder();
    return folder;
}

void PrepareFuzzProcess()
{
    static bool prepared = false;
    if (prepared)
        return;
    prepared = true;
    setenv("QEL_NONINTERACTIVE", "1", 1);
    const std::filesystem::path settings = FuzzScratchFolder() / "settings";
    std::filesystem::create_directories(settings);
    setenv("QEL_SETTINGS_DIR", settings.c_str(), 1);
    std::atexit(RemoveScratchFolder);
    if (!qel::UseDataFolderOr(QEL_FUZZ_DATA_DIR)) {
        std::fprintf(stderr, "fuzz target: %s\n", qel::MissingDataFolderText().c_str());
        std::exit(EXIT_FAILURE);
    }
    AppData::Load();
    RegisterBehaviourHooks();
}

const std::filesystem::path& UseScratchDataFolder()
{
    static const std::filesystem::path folder = [] {
        const std::filesystem::path gameData = qel::DataFolder();
        const std::filesystem::path data = FuzzScratchFolder() / "data";
        std::filesystem::create_directories(data);
        std::filesystem::create_symlink(gameData / "shipData.yaml", data / "shipData.yaml");
        setenv("QEL_DATA_DIR", data.c_str(), 1);
        return data;
    }();
    return folder;
}

void WriteFuzzFile(const std::filesystem::path& path, const void* data, size_t size)
{
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file.write(static_cast<const char*>(data), static_cast<std::streamsize>(size));
    QEL_FUZZ_CHECK(file.flush(), "cannot write the scratch file " + path.string());
}

// The fuzzer's runner closes the standard streams (the game's own reports
// would flood the log); the sanitizer's report stream stays open, so the
// reason goes there too.
void FuzzCheckFailed(const std::string& what)
{
    const std::string text = "fuzz check failed: " + what;
    std::fprintf(stderr, "%s\n", text.c_str());
    __sanitizer_report_error_summary(text.c_str());
    std::abort();
}
