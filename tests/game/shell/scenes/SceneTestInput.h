#pragma once
// The scripted input of the interface tests, with what the scenes also ask of
// the input service: machine settings kept in memory, a clipboard, and
// folder listings of the real file system ("data/..." in the data folder).

#include "engine/base/QelDataFolder.h"
#include "tests/support/ScriptedInput.h"

#include <algorithm>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

namespace qeltest {

class SceneTestInput : public ScriptedInput {
public:
    bool SetRegistryValue(const std::string& name, const std::string& value) override
    {
        registry[name] = value;
        return true;
    }
    bool GetRegistryValue(const std::string& name, std::string& value) override
    {
        const auto found = registry.find(name);
        if (found == registry.end())
            return false;
        value = found->second;
        return true;
    }
    bool SetClipboardText(const std::string& text) override
    {
        clipboard = text;
        return true;
    }
    bool GetClipboardText(std::string& text) override
    {
        text = clipboard;
        return !clipboard.empty();
    }
    int32_t ListDirectory(const std::string& folder, std::vector<std::string>& names) override
    {
        std::vector<std::string> found;
        std::error_code error;
        for (const auto& entry : std::filesystem::directory_iterator(qel::ResolveGamePath(folder), error))
            found.push_back(entry.path().filename().string());
        std::sort(found.begin(), found.end());
        names.insert(names.end(), found.begin(), found.end());
        return 0;
    }

    std::map<std::string, std::string> registry;
    std::string clipboard;
};

}  // namespace qeltest
