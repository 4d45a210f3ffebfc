#include "game/world/ShipData.h"

#include "engine/base/QelFileServices.h"
#include "game/world/DocumentReader.h"
#include "game/world/JSONLoader.h"
#include "game/world/ShipRecordReader.h"
#include "helper/Hjson.h"

#include <algorithm>
#include <filesystem>

namespace {

constexpr const char* kShipListKey = "#ship-list";
constexpr const char* kExtraDocument = "extraShipData";

}  // namespace

ShipData& ShipData::Instance() {
    static ShipData instance;
    return instance;
}

void ShipData::Load(RecordList& records, KeyMap& keys, const std::string& documentName) {
    JSONLoader loader;
    loader.Init(documentName);
    LoadDocument(records, keys, loader.root, loader.Path());
}

// Reads every record before keeping any, so a fault in one leaves the lists
// as they were. The list may also be a map, whose entries count in order.
void ShipData::LoadDocument(RecordList& records, KeyMap& keys, const Hjson::Value& root,
                            const std::string& documentPath) {
    const DocumentField list = DocumentReader(root, documentPath)[kShipListKey];
    if (list.Raw().type() != Hjson::Type::Vector && list.Raw().type() != Hjson::Type::Map)
        list.Fail("the list of ship records");
    RecordList loaded;
    for (size_t i = 0; i < list.Raw().size(); ++i)
        loaded.push_back(ShipRecordReader::Read(list.Element(i), static_cast<int>(i), documentPath));
    for (auto& rec : loaded) {
        keys[rec->key] = rec.get();  // a later record of the same key wins the look-up
        records.push_back(std::move(rec));
    }
}

// A key map entry must never outlive its record: the entries that point into
// the list go with it, whichever map holds them.
void ShipData::ClearRecords(RecordList& records) {
    auto inList = [&](const ShipDataRecord* rec) {
        return std::any_of(records.begin(), records.end(), [&](const auto& owned) { return owned.get() == rec; });
    };
    for (KeyMap* keys : {&mainKeys, &extraKeys})
        std::erase_if(*keys, [&](const auto& entry) { return inList(entry.second); });
    records.clear();
}

void ShipData::LoadMain() { Load(mainRecords, mainKeys, kMainDocument); }

// A mission of the data folder is named below it ("missions/<name>/"); one
// the operator hosts from elsewhere by its absolute path.
void ShipData::LoadExtra(const std::string& missionPath) {
    if (missionPath.empty()) return;
    ForgetFileRecords();
    const bool operatorFolder = std::filesystem::path(missionPath).is_absolute();
    const std::string folder = operatorFolder ? missionPath : "data/" + missionPath;
    if (!QelFileServices::Instance().FileExists(folder + kExtraDocument + ".json"))
        return;
    if (!operatorFolder) {
        Load(extraRecords, extraKeys, missionPath + kExtraDocument);
        return;
    }
    JSONLoader loader;
    loader.InitInFolder(missionPath, kExtraDocument);
    LoadDocument(extraRecords, extraKeys, loader.root, loader.Path());
}

// Drops the records of the last mission's file. A received record that such a
// file had hidden under the same key answers for that key again.
void ShipData::ForgetFileRecords() {
    ClearRecords(extraRecords);
    for (const auto& rec : receivedRecords) extraKeys.try_emplace(rec->key, rec.get());
}

const ShipDataRecord* ShipData::FindDefined(const std::string& key) const {
    if (key == kUnknownKey) return nullptr;
    if (auto it = extraKeys.find(key); it != extraKeys.end()) return it->second;
    if (auto it = mainKeys.find(key); it != mainKeys.end()) return it->second;
    return nullptr;
}

const ShipDataRecord* ShipData::Find(const std::string& key) {
    if (auto it = extraKeys.find(key); it != extraKeys.end()) return it->second;
    if (auto it = mainKeys.find(key); it != mainKeys.end()) return it->second;
    missCounters[key] += 1;
    auto unknown = mainKeys.find(kUnknownKey);
    return unknown != mainKeys.end() ? unknown->second : nullptr;
}
