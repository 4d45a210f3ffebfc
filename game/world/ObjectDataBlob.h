#pragma once
// The open-ended store of typed values that every space object and every grid
// object carries. Behaviours, the server's handlers, the client's handlers and
// mission scripts read and write values by tag name and index; the server
// replicates what changed, using each element's change tick and the tick it
// was last sent to each client.
//
// Tags are keyed by the 46-bit name hash that also keys messages, so lookups
// never compare names; an index given as a string becomes the CRC-32 of its
// bytes, taken as a signed 32-bit number. The code's own keys (DataKey) carry
// their hash from the compiler, so reading and writing them hashes nothing.
//
// One compact table per set: the elements in the order they were made, and
// beside them an index of the tags in ascending key order, each listing its
// elements in ascending index order, which is the order replication sends
// and walks go in. A small hash table from tag key and index to the element
// answers reads and writes of one element in a probe or two. A new element
// may move the others: hold no reference to an element across the making of
// another in the same set.
//
// The world reads a few values of every object at every tick, from sets far
// larger than the caches hold, so a read is laid out to touch two cache
// lines: the table's slot, which carries enough of the hash to pass over
// other keys' slots without visiting their elements, and the start of the
// element's row, which holds its key and its numbers.
//
// A set stamps each change with the tick of the world clock it is given (the
// world of the object that carries it); a set given none stamps 0.

#include "game/world/ObjectDataBlobElement.h"
#include "game/world/SimulationClock.h"

#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

class ObjectDataBlob {
public:
    // The clock whose tick the setters stamp; it must outlive the set, or be
    // replaced before it goes.
    void StampChangesBy(const SimulationClock* clock) { changeClock = clock; }
    // The tick a change made now is stamped with.
    int64_t ChangeTick() const { return changeClock ? changeClock->time_tick_counter : 0; }

    // Named setters: store the value, record the doc text in BlobDocRegistry
    // and return the tag's key.
    uint64_t SetInt(std::string_view tag, int32_t value, int32_t index, std::string_view doc);
    uint64_t SetInt64(std::string_view tag, int64_t value, int32_t index, std::string_view doc);
    uint64_t SetUInt64(std::string_view tag, uint64_t value, int32_t index, std::string_view doc);
    uint64_t SetFloat(std::string_view tag, float value, int32_t index, std::string_view doc);
    uint64_t SetString(std::string_view tag, std::string value, int32_t index, std::string_view doc);

    uint64_t SetIntByIndexString(std::string_view tag, int32_t value, std::string_view index, std::string_view doc);
    uint64_t SetInt64ByIndexString(std::string_view tag, int64_t value, std::string_view index,
                                   std::string_view doc);
    uint64_t SetUInt64ByIndexString(std::string_view tag, uint64_t value, std::string_view index,
                                    std::string_view doc);
    uint64_t SetFloatByIndexString(std::string_view tag, float value, std::string_view index, std::string_view doc);
    uint64_t SetStringByIndexString(std::string_view tag, std::string value, std::string_view index,
                                    std::string_view doc);

    // Setters by tag key, for values that arrive already keyed (the client's
    // copy of a replicated set): no doc, no registry; return the key.
    uint64_t SetIntById(uint64_t tagKey, int32_t value, int32_t index);
    uint64_t SetInt64ById(uint64_t tagKey, int64_t value, int32_t index);
    uint64_t SetUInt64ById(uint64_t tagKey, uint64_t value, int32_t index);
    uint64_t SetFloatById(uint64_t tagKey, float value, int32_t index);
    uint64_t SetStringById(uint64_t tagKey, std::string value, int32_t index);

    // The element, created as ODBE_NONE (all zero, empty text) when missing.
    ObjectDataBlobElement& GetElement(std::string_view tag, int32_t index);
    ObjectDataBlobElement& GetElementByIndexString(std::string_view tag, std::string_view index);
    ObjectDataBlobElement& GetElementById(uint64_t tagKey, int32_t index);

    // The element under the tag's key and index, or null when there is none.
    // Adds nothing, so the world's own passes can read every object's values
    // without growing the sets that replication walks.
    ObjectDataBlobElement* FindElement(uint64_t tagKey, int32_t index);
    const ObjectDataBlobElement* FindElement(uint64_t tagKey, int32_t index) const;

    // Starts fetching the elements of several keys, each a tag key and an
    // index, from memory at once: reads that follow find them in the cache,
    // so a set far from it costs about one wait instead of one per value.
    // Changes nothing; a key the set lacks is passed over.
    struct KeyIndex {
        uint64_t tagKey;
        int32_t index;
    };
    void Prefetch(std::initializer_list<KeyIndex> keys) const;

    int32_t NumElements(std::string_view tag);
    // How many elements the tag holds, without creating it.
    int32_t CountElements(uint64_t tagKey) const;
    // Deletes every element of the tag; the tag itself stays, empty.
    void ClearData(std::string_view tag);

    // The store's one walk over a tag's elements, shared by every tag: First
    // starts it on the tag, Next moves it on. It follows the indexes the tag
    // held when First ran, so writes in between never invalidate it; elements
    // removed meanwhile are skipped. Null when the walk has ended.
    ObjectDataBlobElement* First(std::string_view tag);
    ObjectDataBlobElement* Next();

    // Tags, with or without elements.
    size_t TagCount() const { return tags.size(); }
    bool HasTag(uint64_t tagKey) const;

    // Calls visit(tagKey, index, element) for every element, tags in
    // ascending key order and each tag's elements in ascending index order.
    // The visit may change the elements but not add or remove any.
    template <typename Visit>
    void ForEachElement(Visit&& visit) { VisitAll(*this, visit); }
    template <typename Visit>
    void ForEachElement(Visit&& visit) const { VisitAll(*this, visit); }
    // Calls visit(index, element) for one tag's elements in ascending index
    // order; nothing when the set lacks the tag.
    template <typename Visit>
    void ForEachElementOf(uint64_t tagKey, Visit&& visit) { VisitTag(*this, tagKey, visit); }
    template <typename Visit>
    void ForEachElementOf(uint64_t tagKey, Visit&& visit) const { VisitTag(*this, tagKey, visit); }

    // The index an index string stands for.
    static int32_t IndexOfString(std::string_view index);

private:
    // Rows start on a cache line, so the key and the numbers share the first.
    static constexpr size_t kCacheLine = 64;
    struct alignas(kCacheLine) Row {
        uint64_t tagKey;
        int32_t index;
        ObjectDataBlobElement element;
    };
    // A taken slot of the hash table: row number + 1 (0 in a free slot) and
    // the key's hash, which is checked before the row is looked at.
    struct Slot {
        uint32_t hash;
        uint32_t row;
    };
    // A tag's slice of the ordered row numbers.
    struct Tag {
        uint64_t key;
        uint32_t first;  // into order
        uint32_t count;
    };

    template <typename Store>
    uint64_t SetNamed(std::string_view tag, int32_t index, std::string_view doc, const char* typeName, Store store);
    ObjectDataBlobElement& Element(uint64_t tagKey, int32_t index);
    size_t TagPosition(uint64_t tagKey) const;  // where the tag is or would go
    size_t TagOf(uint64_t tagKey);              // creating it empty
    uint32_t SlotOf(const Tag& tag, int32_t index) const;
    const Row* FindRow(uint64_t tagKey, int32_t index) const;
    static uint32_t HashOf(uint64_t tagKey, int32_t index);
    void FileRow(uint32_t row);
    void IndexRow(uint32_t row);
    void RebuildRowIndex();
    template <typename Self, typename Visit>
    static void VisitAll(Self& self, Visit& visit);
    template <typename Self, typename Visit>
    static void VisitTag(Self& self, uint64_t tagKey, Visit& visit);

    struct Walk {
        uint64_t tagKey = 0;
        std::vector<int32_t> indexes;  // the tag's indexes when the walk began
        size_t next = 0;               // position in indexes of the next element
    };

    std::vector<Row> rows;         // in the order made
    std::vector<Tag> tags;         // ascending key
    std::vector<uint32_t> order;   // row numbers, by tag, each tag's by ascending index
    // Open addressing with linear probing over a power-of-two size.
    std::vector<Slot> rowIndex;
    Walk walk;
    const SimulationClock* changeClock = nullptr;
};

template <typename Self, typename Visit>
void ObjectDataBlob::VisitAll(Self& self, Visit& visit)
{
    for (uint32_t row : self.order)
        visit(self.rows[row].tagKey, self.rows[row].index, self.rows[row].element);
}

template <typename Self, typename Visit>
void ObjectDataBlob::VisitTag(Self& self, uint64_t tagKey, Visit& visit)
{
    const size_t position = self.TagPosition(tagKey);
    if (position == self.tags.size() || self.tags[position].key != tagKey)
        return;
    const Tag& tag = self.tags[position];
    for (uint32_t i = tag.first; i < tag.first + tag.count; ++i)
        visit(self.rows[self.order[i]].index, self.rows[self.order[i]].element);
}
