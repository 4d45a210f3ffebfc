#include "game/shell/scenes/MissionCatalogue.h"

#include "engine/base/QelDataFolder.h"
#include "engine/base/QelFileIO.h"
#include "engine/base/QelFileServices.h"
#include "engine/base/QelInputFactoryBase.h"
#include "game/script/MissionScript.h"
#include "helper/TinyYaml.h"

#include <cstdio>
#include <filesystem>
#include <sstream>

namespace {

constexpr const char* kMissionsFolder = "data/missions";
// Names this short are no mission's ("common" holds what missions share).
constexpr size_t kShortestMissionName = 4;

std::string MissionFolder(const std::string& folderName)
{
    return std::string(kMissionsFolder) + "/" + folderName;
}

std::string TrimBlanks(const std::string& text)
{
    const char* blanks = " \t\r\n\v\f";
    const size_t first = text.find_first_not_of(blanks);
    if (first == std::string::npos)
        return "";
    return text.substr(first, text.find_last_not_of(blanks) - first + 1);
}

// The description reader keeps quotes as part of a value; a value written in
// quotes (as one holding a '#' must be) shows without them.
std::string Unquoted(const std::string& value)
{
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front())
        return value.substr(1, value.size() - 2);
    return value;
}

// A key's text, or its list items joined by ", "; empty when the key is absent.
std::string ValueOf(const TINY_YAML::NodeMap& document, const char* key)
{
    const TINY_YAML::NodePtr node = document.Find(key);
    if (!node)
        return "";
    if (const std::string* text = node->Text())
        return Unquoted(*text);
    std::string joined;
    if (const TINY_YAML::Node::List* items = node->Items()) {
        for (const std::string& item : *items)
            joined += (joined.empty() ? "" : ", ") + Unquoted(item);
    }
    return joined;
}

std::string DescriptionYamlPath(const std::string& folderName)
{
    return MissionFolder(folderName) + "/description.yaml";
}

// A description.yaml that is there but cannot be read leaves what the reader
// said in `unreadable`.
bool LoadYamlDescription(MissionMap& missions, const std::string& folderName, std::string& unreadable)
{
    const std::string path = DescriptionYamlPath(folderName);
    if (!QelFileServices::Instance().FileExists(path))
        return false;
    TINY_YAML::NodeMap document;
    std::ostringstream reasons;
    if (!TINY_YAML::ParseFile(document, qel::ResolveGamePath(path), reasons)) {
        unreadable = reasons.str();
        return false;
    }
    MissionDescription mission{ValueOf(document, "Visible Mission Name"), folderName,
                               ValueOf(document, "Description"), ValueOf(document, "Keywords")};
    missions[ValueOf(document, "Category")].push_back(std::move(mission));
    return true;
}

// Line 1 is the category, line 2 the description.
bool LoadTextDescription(MissionMap& missions, const std::string& folderName)
{
    QelFileIO* file = QelFileServices::Instance().GetFileIO("LoadMissionDescription");
    if (!file->Open(MissionFolder(folderName), "description", "txt", true, false, true, false))
        return false;
    std::string category;
    std::string description;
    file->ReadLine(category);
    file->ReadLine(description);
    file->Close();
    missions[TrimBlanks(category)].push_back({folderName, folderName, TrimBlanks(description), ""});
    return true;
}

// The reader's words go to the standard error stream as it wrote them, and
// one line to the console log, where the mission's own output goes: the
// operator choosing a mission sees why it is listed otherwise, or not at all.
void ReportUnreadableDescription(const std::string& folderName, const std::string& reasons, bool listed)
{
    std::fputs(reasons.c_str(), stderr);
    const std::string path = qel::ResolveGamePath(DescriptionYamlPath(folderName));
    std::string why;
    std::istringstream lines(reasons);
    for (std::string line; std::getline(lines, line);) {
        if (line.rfind(path, 0) != 0)  // the lines that name the file, which this line names itself
            why += (why.empty() ? "" : " ") + line;
    }
    theMissionScript.Print(path + " cannot be read (" + why + "); " +
                               (listed ? "the mission is listed from its description.txt"
                                       : "the mission is not listed"),
                           MissionScript::kStderrColour);
}

}  // namespace

bool IsMissionFolderName(const std::string& name)
{
    return name.size() >= kShortestMissionName && name.find_first_of(".X") == std::string::npos;
}

void ScanMissions(MissionMap& missions)
{
    theMissionScript.Stop();
    missions.clear();
    if (!gInputFactory)
        return;
    std::vector<std::string> names;
    gInputFactory->ListDirectory(kMissionsFolder, names);
    for (const std::string& name : names) {
        if (IsMissionFolderName(name))
            LoadMissionDescription(missions, name);
    }
}

void LoadMissionDescription(MissionMap& missions, const std::string& folderName)
{
    std::string unreadable;
    const bool described =
        LoadYamlDescription(missions, folderName, unreadable) || LoadTextDescription(missions, folderName);
    if (!unreadable.empty())
        ReportUnreadableDescription(folderName, unreadable, described);
    if (described || !unreadable.empty())
        return;
    const std::string folder = qel::ResolveGamePath(MissionFolder(folderName));
    std::error_code error;
    if (std::filesystem::is_directory(folder, error))
        std::fprintf(stderr, "%s: no description.yaml or description.txt describes the mission; it is not listed\n",
                     folder.c_str());
}
