#include "game/world/JSONLoader.h"

#include "engine/base/QelDataFolder.h"
#include "engine/base/QelFileServices.h"
#include "game/world/DocumentReader.h"
#include "helper/TextCheck.h"

#include <optional>

namespace {

// Blank lines after the text, so a last value (a quoteless string, a root
// without braces) ends cleanly even when the file's last line has no line end.
constexpr const char* kDocumentEnd = "\n\n \n\n";

const char* const kFileTag = "JSONLoader::Init";

// Bytes taken from the file object's buffer at a time.
constexpr int32_t kReadChunk = 64 * 1024;

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

// Every byte of the opened file, NUL bytes included, so that a binary file is
// seen whole and refused rather than cut at its first NUL.
std::string ReadWholeFile(QelFileIO& file)
{
    std::string bytes;
    int32_t copied = 0;
    do {
        const size_t used = bytes.size();
        bytes.resize(used + kReadChunk);
        file.ReadBuffered(bytes.data() + used, kReadChunk, copied);
        bytes.resize(used + static_cast<size_t>(copied));
    } while (copied == kReadChunk);
    return bytes;
}

bool IsBlankText(std::string_view text)
{
    return text.find_first_not_of(" \t\r\n\f\v") == std::string_view::npos;
}

// The document's text, ready to parse: UTF-8 without NUL bytes, without a
// byte order mark, not empty.
std::string CheckedText(const std::string& bytes, const std::string& path)
{
    if (const std::optional<TextFault> fault = FindTextFault(bytes, true))
        throw JSONLoaderError(path + " is not a text document: it holds " + DescribeTextFault(*fault) + ".");
    const std::string_view text = WithoutByteOrderMark(bytes);
    if (IsBlankText(text))
        throw JSONLoaderError(path + " is empty: it holds no keys and values.");
    return std::string(text) + kDocumentEnd;
}

Hjson::Value Parse(const std::string& text, const std::string& path)
{
    Hjson::Value root;
    try {
        root = Hjson::Unmarshal(text, Hjson::DecoderOptions{.duplicateKeyException = true});
    } catch (const Hjson::syntax_error& error) {
        throw Hjson::syntax_error(path + ": " + error.what());
    }
    if (root.type() != Hjson::Type::Map) {
        throw JSONLoaderError(path + " holds " + DescribeDocumentValue(root) +
                              " where a map of keys and values belongs (is it the right file?).");
    }
    return root;
}

}  // namespace

std::string JSONLoader::DocumentFolder()
{
    return QelFileServices::Instance().DataSetFolder();
}

void JSONLoader::Init(const std::string& name)
{
    const std::optional<std::string> checkedName = qel::CheckDataName(name);
    if (!checkedName)
        throw JSONLoaderError("The document name \"" + name + "\" is not a file name inside the data folder.");
    Read(DocumentFolder(), *checkedName);
}

void JSONLoader::InitInFolder(const std::string& folder, const std::string& name)
{
    Read(folder, name);
}

void JSONLoader::Read(const std::string& folder, const std::string& name)
{
    QelFileIO& file = *QelFileServices::Instance().GetFileIO(kFileTag);
    const std::optional<std::string> gamePath = OpenDocument(file, folder, name);
    if (!gamePath) {
        throw JSONLoaderError(
            "The document \"" + name + "\" could not be read: neither " +
            qel::ResolveGamePath(QelFileIO::MakePath(folder, name, "yaml")) + " nor " +
            qel::ResolveGamePath(QelFileIO::MakePath(folder, name, "json")) + " opened.");
    }
    const std::string bytes = ReadWholeFile(file);
    file.Close();
    const std::string readPath = qel::ResolveGamePath(*gamePath);
    root = Parse(CheckedText(bytes, readPath), readPath);
    path = readPath;
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
