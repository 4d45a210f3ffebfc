// Ship records a console received from servers, kept in a document of their
// own in the data folder: a console that fetched a hull once knows it at the
// next start without asking, and the game's own ship list stays untouched.

#include "game/world/ShipData.h"

#include "engine/base/QelFileServices.h"
#include "game/world/JSONLoader.h"
#include "game/world/ShipRecordWriter.h"
#include "helper/Hjson.h"
#include "helper/TextCheck.h"

#include <algorithm>
#include <cstdio>
#include <exception>
#include <optional>

namespace {

constexpr const char* kShipListKey = "#ship-list";
constexpr const char* kExtension = "json";

Hjson::Value ShipList(Hjson::Value records)
{
    Hjson::Value root;
    root[kShipListKey] = std::move(records);
    return root;
}

std::string FetchedPath()
{
    return QelFileIO::MakePath(JSONLoader::DocumentFolder(), ShipData::kFetchedDocument, kExtension);
}

// Reads the document's text as the next start will; throws what it would
// refuse, so no record goes in that would cost the whole document.
void ReadBack(const std::string& text)
{
    if (const std::optional<TextFault> fault = FindTextFault(text, true))
        throw JSONLoaderError("it holds " + DescribeTextFault(*fault));
    ShipData::RecordList records;
    ShipData::KeyMap keys;
    ShipData::LoadDocument(records, keys, Hjson::Unmarshal(text, Hjson::DecoderOptions{.duplicateKeyException = true}),
                           FetchedPath());
}

}  // namespace

bool ShipData::StoreReceivedRecord(const std::string& key)
{
    const auto found = std::find_if(receivedRecords.begin(), receivedRecords.end(),
                                    [&](const auto& held) { return held->key == key; });
    if (found == receivedRecords.end())
        return false;
    if (fetchedKeys.count(key) != 0)
        return true;

    const Hjson::Value entry = ShipRecordWriter::Write(**found);
    Hjson::Value single(Hjson::Type::Vector);
    single.push_back(entry);
    try {
        ReadBack(Hjson::MarshalJson(ShipList(std::move(single))));
    } catch (const std::exception& error) {
        std::fprintf(stderr, "Ship type %s: the record received is not kept, as it would not read back: %s\n",
                     key.c_str(), error.what());
        return false;
    }

    Hjson::Value records(Hjson::Type::Vector);
    for (const auto& held : receivedRecords)
        if (fetchedKeys.count(held->key) != 0)
            records.push_back(ShipRecordWriter::Write(*held));
    records.push_back(entry);
    QelFileIO* file = QelFileServices::Instance().GetFileIO("ShipData::StoreReceivedRecord");
    const bool written = file->Open(JSONLoader::DocumentFolder(), kFetchedDocument, kExtension, false, true, false,
                                    false) &&
                         file->WriteString(Hjson::MarshalJson(ShipList(std::move(records))));
    if (!file->Close() || !written) {
        std::fprintf(stderr, "Ship type %s: %s cannot be written; the record is asked for again next time.\n",
                     key.c_str(), FetchedPath().c_str());
        return false;
    }
    fetchedKeys.insert(key);
    return true;
}

void ShipData::LoadFetched()
{
    if (!QelFileServices::Instance().FileExists(FetchedPath()))
        return;
    RecordList loaded;
    KeyMap loadedKeys;
    try {
        JSONLoader loader;
        loader.Init(kFetchedDocument);
        LoadDocument(loaded, loadedKeys, loader.root, loader.Path());
    } catch (const std::exception& error) {
        std::fprintf(stderr, "The ship records fetched earlier are asked for again, as they cannot be read: %s\n",
                     error.what());
        return;
    }
    for (auto& record : loaded) {
        const bool known = mainKeys.count(record->key) != 0 ||
                           std::any_of(receivedRecords.begin(), receivedRecords.end(),
                                       [&](const auto& held) { return held->key == record->key; });
        if (known)
            continue;
        fetchedKeys.insert(record->key);
        extraKeys.try_emplace(record->key, record.get());
        receivedRecords.push_back(std::move(record));
    }
}
