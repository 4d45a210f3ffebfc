#pragma once
// The ids of the objects a replication pass serves, gathered from one or more
// searches of the registry and walked once each in ascending order. A search
// around a ship may find thousands; gathering them into one array and sorting
// it once costs a fraction of a tree of ids built one insertion at a time.

#include <algorithm>
#include <cstdint>
#include <vector>

class ObjectIdSet {
public:
    void insert(uint64_t id)
    {
        ids.push_back(id);
        settled = false;
    }

    std::vector<uint64_t>::const_iterator begin() const { return Settled().begin(); }
    std::vector<uint64_t>::const_iterator end() const { return Settled().end(); }

private:
    // Sorted, each id once.
    const std::vector<uint64_t>& Settled() const
    {
        if (!settled) {
            std::sort(ids.begin(), ids.end());
            ids.erase(std::unique(ids.begin(), ids.end()), ids.end());
            settled = true;
        }
        return ids;
    }

    mutable std::vector<uint64_t> ids;
    mutable bool settled = true;
};
