#include "game/world/JSONLoader.h"

#include "engine/base/QelDataFolder.h"
#include "engine/base/QelFileServices.h"

#include <optional>

namespace {

// Blank lines after the text, so a last value (a quoteless string, a root
// without braces) ends cleanly even when the file's last line has no line end.
constexpr const char* kDocumentEnd = "\n\n \n\n";

const char* const kFileTag = "JSONLoader::Init";

std::string DocumentFolder()
{
    return gDataSubfolderName.empty() ? std::string("data") : "data/" + gDataSubfolderName;
}

bool IsCollection(const Hjson::Value& value)
{
    return value.type() == Hjson::Type::Vector || value.type() == Hjson::Type::Map;
}

// Opens the ".yaml" form of the document, else its ".json" form; gives the
// path that opened.
std::optional<std::string> OpenDocument(QelFileIO& file, const std::string& folder, const std::string& name)
{
    for (const char* extension : {"yaml", "json"}) {
        if (file.OpenRead(folder, name, extension))
            return QelFileIO::MakePath(folder, name, extension);
    }
    return std::nullopt;
}

}  // namespace

void JSONLoader::Init(const std::string& name)
{
    const std::optional<std::string> checkedName = qel::CheckDataName(name);
    if (!checkedName)
        throw JSONLoaderError("The document name \"" + name + "\" is not a file name inside the data folder.");

    QelFileIO& file = *QelFileServices::Instance().GetFileIO(kFileTag);
    const std::string folder = DocumentFolder();
    const std::optional<std::string> path = OpenDocument(file, folder, *checkedName);
    if (!path) {
        throw JSONLoaderError("The document \"" + name + "\" could not be read: neither " +
                              QelFileIO::MakePath(folder, *checkedName, "yaml") + " nor " +
                              QelFileIO::MakePath(folder, *checkedName, "json") + " opened (data folder " +
                              qel::DataFolder().string() + ").");
    }

    std::string text;
    file.ReadAllText(text);
    file.Close();
    text += kDocumentEnd;
    try {
        root = Hjson::Unmarshal(text);
    } catch (const Hjson::syntax_error& error) {
        throw Hjson::syntax_error(*path + ": " + error.what());
    }
}

int JSONLoader::GetStringList(const std::string& key, std::vector<std::string>& output, int index)
{
    const Hjson::Value& element = Get(key)[index];
    if (!IsCollection(element))
        return 0;
    const int count = static_cast<int>(element.size());
    for (int i = 0; i < count; ++i)
        output.push_back(element[i].to_string());
    return count;
}

std::string JSONLoader::GetString(const std::string& key)
{
    return Get(key).to_string();
}

int JSONLoader::GetCount(const std::string& key)
{
    const Hjson::Value& value = Get(key);
    return IsCollection(value) ? static_cast<int>(value.size()) : 0;
}

std::string JSONLoader::GetStringAt(const std::string& key, int index)
{
    return Get(key)[index].to_string();
}
