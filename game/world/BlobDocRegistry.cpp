#include "game/world/BlobDocRegistry.h"

#include <utility>

std::map<std::string, BlobDocRegistry::Entry>& BlobDocRegistry::Entries()
{
    static std::map<std::string, Entry> entries;
    return entries;
}

void BlobDocRegistry::Record(const std::string& tag, std::string doc, const char* typeName, int32_t index)
{
    Entry& entry = Entries()[tag];
    if (doc.size() < entry.doc.size())
        return;
    entry.doc = std::move(doc);
    entry.typeName = typeName;
    if (index > 0)
        entry.indexed = true;
}
