#include "game/world/BlobDocRegistry.h"

#include <array>

namespace {

// The last record of a key whose text lives as long as the program, by the
// key's low bits; another key of the same bits takes the place.
struct LastRecord {
    uint64_t tagKey = 0;
    const char* docText = nullptr;
    size_t docSize = 0;
    const char* typeName = nullptr;
    bool indexed = false;
};

// Enough places for every key the game declares, with room to spare.
constexpr size_t kLastRecordPlaces = 4096;

std::array<LastRecord, kLastRecordPlaces>& LastRecords()
{
    static std::array<LastRecord, kLastRecordPlaces> records;
    return records;
}

LastRecord& LastRecordOf(uint64_t tagKey)
{
    return LastRecords()[tagKey % kLastRecordPlaces];
}

}  // namespace

std::map<std::string, BlobDocRegistry::Entry>& BlobDocRegistry::Entries()
{
    static std::map<std::string, Entry> entries;
    return entries;
}

void BlobDocRegistry::Record(uint64_t tagKey, std::string_view tag, std::string_view doc, const char* typeName,
                             int32_t index)
{
    // Whatever this record does, a repeat of the key's last lasting record is
    // no longer known to change nothing.
    LastRecord& last = LastRecordOf(tagKey);
    if (last.tagKey == tagKey)
        last = {};
    Entry& entry = Entries()[std::string(tag)];
    if (doc.size() < entry.doc.size())
        return;
    entry.doc = doc;
    entry.typeName = typeName;
    if (index > 0)
        entry.indexed = true;
}

// Recording the same text and type again leaves the entry as the last record
// left it: either it holds them (and the indexed flag, unless this index sets
// it) or it holds a longer text that this one does not replace.
void BlobDocRegistry::RecordLasting(uint64_t tagKey, std::string_view tag, std::string_view doc,
                                    const char* typeName, int32_t index)
{
    const LastRecord& last = LastRecordOf(tagKey);
    if (last.tagKey == tagKey && last.docText == doc.data() && last.docSize == doc.size() &&
        last.typeName == typeName && (index <= 0 || last.indexed))
        return;
    Record(tagKey, tag, doc, typeName, index);
    const Entry& entry = Entries().at(std::string(tag));
    LastRecordOf(tagKey) = {tagKey, doc.data(), doc.size(), typeName, entry.indexed};
}
