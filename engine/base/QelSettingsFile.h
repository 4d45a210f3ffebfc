#pragma once
// The engine's machine settings, its key "qelEngine" (volumes, the last address
// typed, the machine name): a small text file of "name=value" lines in the
// user's configuration folder, rewritten whole through a temporary file on
// every change.

#include <filesystem>
#include <map>
#include <optional>
#include <string>

class QelSettingsFile {
public:
    // A value holds at most 1023 bytes; longer ones are refused on both sides
    // so that what is stored can always be read back.
    static constexpr size_t kMaxValueBytes = 1023;

    // $QEL_SETTINGS_DIR, else $XDG_CONFIG_HOME/corvane-halvex, else
    // ~/.config/corvane-halvex.
    static std::filesystem::path DefaultFolder();

    // Without a folder the file follows DefaultFolder() at every access, so a
    // change of the environment (a test's own folder) takes effect at once.
    QelSettingsFile() = default;
    explicit QelSettingsFile(std::filesystem::path folder);

    // The stored text of a value; nothing when absent, too long or unreadable.
    std::optional<std::string> Get(const std::string& name) const;

    // Stores the value (creating the folder and file when needed). False, with
    // nothing changed, when the name cannot be stored (empty, holding '=' or a
    // line end), the value is too long or the file cannot be written.
    bool Set(const std::string& name, const std::string& value);

    std::filesystem::path Folder() const;

private:
    using Values = std::map<std::string, std::string>;

    Values ReadAll() const;
    bool WriteAll(const Values& values) const;

    std::optional<std::filesystem::path> folder_;  // fixed folder, if any
};
