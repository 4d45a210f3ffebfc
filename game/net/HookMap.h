#pragma once
// An ordered table from a 64-bit key to a handler. Filled once at start-up
// (a duplicate key is a programming error); looking a key up never changes
// the table, so keys read from the network cannot grow it.

#include "helper/QelAssert.h"

#include <cstdint>
#include <map>

template <typename Handler>
class HookMap {
public:
    // Stores the handler; a second handler for the same key fails the
    // assertion with the given text.
    void Register(uint64_t key, Handler handler, const char* duplicateText)
    {
        auto [it, inserted] = hooks.try_emplace(key, handler);
        QEL_ASSERT(inserted || it->second == nullptr, duplicateText);
        it->second = handler;
    }

    // The handler of a key, or null when none is registered.
    Handler Find(uint64_t key) const
    {
        auto it = hooks.find(key);
        return it != hooks.end() ? it->second : nullptr;
    }

    bool Contains(uint64_t key) const { return Find(key) != nullptr; }
    size_t Size() const { return hooks.size(); }

private:
    std::map<uint64_t, Handler> hooks;
};
