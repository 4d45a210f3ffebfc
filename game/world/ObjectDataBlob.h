#pragma once
// The open-ended store of typed values that every space object and every grid
// object carries. Behaviours, the server's handlers, the client's handlers and
// mission scripts read and write values by tag name and index; the server
// replicates what changed, using each element's change tick and the tick it
// was last sent to each client.
//
// Tags are keyed by the 46-bit name hash that also keys messages, so lookups
// never compare names; an index given as a string becomes the CRC-32 of its
// bytes, taken as a signed 32-bit number.

#include "game/world/ObjectDataBlobElement.h"

#include <cstdint>
#include <map>
#include <string>
#include <unordered_map>
#include <vector>

class ObjectDataBlob {
public:
    using IndexMap = std::unordered_map<int32_t, ObjectDataBlobElement>;
    // Ascending tag key order, which replication sends in.
    using TagMap = std::map<uint64_t, IndexMap>;

    // Named setters: store the value, record the doc text in BlobDocRegistry
    // and return the tag's key.
    uint64_t SetInt(std::string tag, int32_t value, int32_t index, std::string doc);
    uint64_t SetInt64(std::string tag, int64_t value, int32_t index, std::string doc);
    uint64_t SetUInt64(std::string tag, uint64_t value, int32_t index, std::string doc);
    uint64_t SetFloat(std::string tag, float value, int32_t index, std::string doc);
    uint64_t SetString(std::string tag, std::string value, int32_t index, std::string doc);

    uint64_t SetIntByIndexString(std::string tag, int32_t value, std::string index, std::string doc);
    uint64_t SetInt64ByIndexString(std::string tag, int64_t value, std::string index, std::string doc);
    uint64_t SetUInt64ByIndexString(std::string tag, uint64_t value, std::string index, std::string doc);
    uint64_t SetFloatByIndexString(std::string tag, float value, std::string index, std::string doc);
    uint64_t SetStringByIndexString(std::string tag, std::string value, std::string index, std::string doc);

    // Setters by tag key, for values that arrive already keyed (the client's
    // copy of a replicated set): no doc, no registry; return the key.
    uint64_t SetIntById(uint64_t tagKey, int32_t value, int32_t index);
    uint64_t SetInt64ById(uint64_t tagKey, int64_t value, int32_t index);
    uint64_t SetUInt64ById(uint64_t tagKey, uint64_t value, int32_t index);
    uint64_t SetFloatById(uint64_t tagKey, float value, int32_t index);
    uint64_t SetStringById(uint64_t tagKey, std::string value, int32_t index);

    // The element, created as ODBE_NONE (all zero, empty text) when missing.
    ObjectDataBlobElement& GetElement(std::string tag, int32_t index);
    ObjectDataBlobElement& GetElementByIndexString(std::string tag, std::string index);

    // The element under the tag's key and index, or null when there is none.
    // Adds nothing, so the world's own passes can read every object's values
    // without growing the sets that replication walks.
    ObjectDataBlobElement* FindElement(uint64_t tagKey, int32_t index);
    const ObjectDataBlobElement* FindElement(uint64_t tagKey, int32_t index) const;

    int32_t NumElements(std::string tag);
    // Deletes every element of the tag; the tag itself stays, empty.
    void ClearData(std::string tag);

    // The element under a tag key, created as GetElement does.
    ObjectDataBlobElement& GetElementById(uint64_t tagKey, int32_t index);

    // The store's one walk over a tag's elements, shared by every tag: First
    // starts it on the tag, Next moves it on. It follows the indexes the tag
    // held when First ran, so writes in between never invalidate it; elements
    // removed meanwhile are skipped. Null when the walk has ended.
    ObjectDataBlobElement* First(const std::string& tag);
    ObjectDataBlobElement* Next();

    // Every tag with its elements, for replication, which reads and writes the
    // elements' sent ticks.
    TagMap& Tags() { return tags; }
    const TagMap& Tags() const { return tags; }

    // The index an index string stands for.
    static int32_t IndexOfString(const std::string& index);

private:
    template <typename Store>
    uint64_t SetNamed(const std::string& tag, int32_t index, std::string doc, const char* typeName, Store store);
    ObjectDataBlobElement& Element(uint64_t tagKey, int32_t index);
    IndexMap& IndexesOf(const std::string& tag);

    struct Walk {
        uint64_t tagKey = 0;
        std::vector<int32_t> indexes;  // the tag's indexes when the walk began
        size_t next = 0;               // position in indexes of the next element
    };

    TagMap tags;
    Walk walk;
};
