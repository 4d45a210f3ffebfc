#pragma once
// The objects a replication pass serves, gathered from one or more searches of
// the registry and walked once each in ascending id order. A search around a
// ship may find thousands; gathering them into one array and sorting it once
// costs a fraction of a tree of ids built one insertion at a time. Each entry
// keeps the object the search found, so the pass need not look its id up
// again; nothing may add or remove objects while the set is in use.

#include "game/world/SpaceObject.h"

#include <algorithm>
#include <cstdint>
#include <vector>

class ObjectIdSet {
public:
    struct Entry {
        uint64_t id;
        SpaceObject* object;
    };

    void insert(SpaceObject& object)
    {
        entries.push_back({object.uniqueID, &object});
        settled = false;
    }

    std::vector<Entry>::const_iterator begin() const { return Settled().begin(); }
    std::vector<Entry>::const_iterator end() const { return Settled().end(); }

private:
    // Sorted by id, each id once.
    const std::vector<Entry>& Settled() const
    {
        if (!settled) {
            std::sort(entries.begin(), entries.end(), [](const Entry& a, const Entry& b) { return a.id < b.id; });
            entries.erase(std::unique(entries.begin(), entries.end(),
                                      [](const Entry& a, const Entry& b) { return a.id == b.id; }),
                          entries.end());
            settled = true;
        }
        return entries;
    }

    mutable std::vector<Entry> entries;
    mutable bool settled = true;
};
