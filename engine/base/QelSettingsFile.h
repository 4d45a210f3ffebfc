#pragma once
// The machine settings that the Windows program kept under its registry key
// "qelEngine" (volumes, the last address typed, the machine name): a small text
// file of "name=value" lines in the user's configuration folder, rewritten
// whole through a temporary file on every change.

#include <filesystem>
#include <map>
#include <optional>
#include <string>

class QelSettingsFile {
public:
    // The registry read values of at most 1023 bytes; longer ones are refused
    // on both sides so that what is stored can always be read back.
    static constexpr size_t kMaxValueBytes = 1023;

    // $QEL_SETTINGS_DIR, else $XDG_CONFIG_HOME/corvane-halvex, else
    // ~/.config/corvane-halvex.
    static std::filesystem::path DefaultFolder();

    explicit QelSettingsFile(std::filesystem::path folder = DefaultFolder());

    // The stored text of a value; nothing when absent, too long or unreadable.
    std::optional<std::string> Get(const std::string& name) const;

    // Stores the value (creating the folder and file when needed). False, with
    // nothing changed, when the name cannot be stored (empty, holding '=' or a
    // line end), the value is too long or the file cannot be written.
    bool Set(const std::string& name, const std::string& value);

    const std::filesystem::path& Folder() const { return folder_; }

private:
    using Values = std::map<std::string, std::string>;

    Values ReadAll() const;
    bool WriteAll(const Values& values) const;

    std::filesystem::path folder_;
};
