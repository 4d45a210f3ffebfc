#include "tools/test-sandbox/TestSandbox.h"

#include "tools/test-sandbox/DataOverlay.h"

#include <cerrno>
#include <cstdlib>
#include <fstream>
#include <system_error>

namespace fs = std::filesystem;

namespace {

fs::path MakeRoot()
{
    std::string pattern = (fs::temp_directory_path() / "qel-test-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr)
        throw fs::filesystem_error("cannot make the test's folder", pattern, std::error_code(errno, std::generic_category()));
    return pattern;
}

// The time stamp of a file made now: the file system's own clock, which runs
// a little behind the system's finer one, so that a write in the first
// moments of the test is not taken for one before it.
fs::file_time_type FileSystemNow(const fs::path& folder)
{
    const fs::path stamp = folder / "started";
    std::ofstream{stamp};
    return fs::last_write_time(stamp);
}

}  // namespace

TestSandbox::TestSandbox(const fs::path& gameData_) : gameData(fs::absolute(gameData_)), root(MakeRoot())
{
    try {
        madeAt = FileSystemNow(root);
        MakeDataOverlay(gameData, Data());
        for (const char* folder : {"settings", "config", "tmp"})
            fs::create_directory(root / folder);
    } catch (...) {
        std::error_code ignored;
        fs::remove_all(root, ignored);
        throw;
    }
}

TestSandbox::~TestSandbox()
{
    std::error_code ignored;
    fs::remove_all(root, ignored);
}

std::vector<std::pair<std::string, std::string>> TestSandbox::Environment() const
{
    return {{"QEL_DATA_DIR", Data().string()},
            {kGameDataVariable, Data().string()},
            {"QEL_SETTINGS_DIR", (root / "settings").string()},
            {"XDG_CONFIG_HOME", (root / "config").string()},
            {"TMPDIR", (root / "tmp").string()}};
}

std::vector<std::string> TestSandbox::GameDataChanges() const
{
    return ChangedSince(gameData, madeAt);
}
