#include "engine/base/QelSettingsFile.h"

#include "engine/base/QelPosixFileIO.h"

#include <cstdlib>
#include <system_error>

namespace {

const char* const kFileName = "qelEngine";
const char* const kFileExtension = "cfg";
const char* const kHeader = "# Machine settings of Corvane Halvex, one name=value per line.\n";

std::filesystem::path FromEnvironment(const char* variable)
{
    const char* value = std::getenv(variable);
    return (value != nullptr && *value != '\0') ? std::filesystem::path(value) : std::filesystem::path();
}

// Values may hold any text; line ends and backslashes are escaped so one value
// stays on one line.
std::string Escape(const std::string& value)
{
    std::string escaped;
    for (char c : value) {
        switch (c) {
        case '\\': escaped += "\\\\"; break;
        case '\n': escaped += "\\n"; break;
        case '\r': escaped += "\\r"; break;
        default: escaped += c;
        }
    }
    return escaped;
}

std::string Unescape(const std::string& text)
{
    std::string value;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\\' || i + 1 == text.size()) {
            value += text[i];
            continue;
        }
        const char next = text[++i];
        value += next == 'n' ? '\n' : next == 'r' ? '\r' : next;
    }
    return value;
}

bool IsStorableName(const std::string& name)
{
    return !name.empty() && name.front() != '#' && name.find_first_of("=\r\n") == std::string::npos;
}

}  // namespace

std::filesystem::path QelSettingsFile::DefaultFolder()
{
    if (std::filesystem::path folder = FromEnvironment("QEL_SETTINGS_DIR"); !folder.empty())
        return folder;
    if (std::filesystem::path config = FromEnvironment("XDG_CONFIG_HOME"); !config.empty())
        return config / "corvane-halvex";
    std::filesystem::path home = FromEnvironment("HOME");
    if (home.empty())
        home = ".";
    return home / ".config" / "corvane-halvex";
}

QelSettingsFile::QelSettingsFile(std::filesystem::path folder) : folder_(std::move(folder)) {}

std::filesystem::path QelSettingsFile::Folder() const
{
    return folder_ ? *folder_ : DefaultFolder();
}

std::optional<std::string> QelSettingsFile::Get(const std::string& name) const
{
    const Values values = ReadAll();
    const auto found = values.find(name);
    if (found == values.end() || found->second.size() > kMaxValueBytes)
        return std::nullopt;
    return found->second;
}

bool QelSettingsFile::Set(const std::string& name, const std::string& value)
{
    if (!IsStorableName(name) || value.size() > kMaxValueBytes)
        return false;
    std::error_code error;
    std::filesystem::create_directories(Folder(), error);
    Values values = ReadAll();
    values[name] = value;
    return WriteAll(values);
}

QelSettingsFile::Values QelSettingsFile::ReadAll() const
{
    Values values;
    QelPosixFileIO file("settings");
    if (!file.Open(Folder().string(), kFileName, kFileExtension, true, false, false, false))
        return values;
    std::string line;
    while (file.ReadLine(line)) {
        const size_t equals = line.find('=');
        // Comments and lines a user broke by hand are skipped, not fatal.
        if (line.empty() || line.front() == '#' || equals == std::string::npos || equals == 0)
            continue;
        values[line.substr(0, equals)] = Unescape(line.substr(equals + 1));
    }
    return values;
}

bool QelSettingsFile::WriteAll(const Values& values) const
{
    QelPosixFileIO file("settings");
    if (!file.Open(Folder().string(), kFileName, kFileExtension, false, true, false, false))
        return false;
    bool written = file.WriteString(kHeader);
    for (const auto& [name, value] : values)
        written = written && file.WriteString(name + "=" + Escape(value) + "\n");
    return file.Close() && written;
}
